#include "ui/service/alignment_window.h"
#include "ui/common/qt_text.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>

#include "model/settings/service_fields.h"
#include "ui/common/select_list_dialog.h"

namespace qm54 {

namespace {

// The alignment values of the window: caption, setting, whether it is per point, control name.
struct AlignField {
    const char* Caption;
    std::string_view Key;
    bool PerPoint;
    const char* Name;
};

constexpr AlignField kFields[] = {
    {"Rx &Frequency (MHz)", "RxAdjustFreq", true, "edtRxFreq"},
    {"&SQL Threshold Level", "SqlThreshold", true, "edtSTLvl"},
    {"S&QL W/N Adjust", "SqlNarrowOffset", false, "edtAWN"},
    {"SQ&L Hysteresis", "SqlHysteresis", false, "edtAHyst"},
    {"R&X Tuning Level", "RxTuning", true, "edtRTLevel"},
    {"&Tx Frequency (MHz)", "TxAdjustFreq", true, "edtTxFreq"},
    {"Tx Power Level &High", "TxPowerHigh", true, "edtTPLHigh"},
    {"Tx Pow&er Level Low", "TxPowerLow", true, "edtTPLLow"},
    {"M&ax Deviation Wide", "MaxDevWide", true, "edtMDWide"},
    {"Max &Deviation Narrow", "MaxDevNarrow", true, "edtMDNarr"},
    {"CTCSS Deviation &Wide", "CtcssDevWide", true, "edtCDWide"},
    {"CTCSS Deviation &Narrow", "CtcssDevNarrow", true, "edtCDNarr"},
    {"DCS Deviation &Wide", "DcsDevWide", true, "edtDDWide"},
    {"DCS Deviation &Narrow", "DcsDevNarrow", true, "edtDDNarr"},
};

constexpr const char* kSwitchCaptions[6] = {"RX on", "RX off", "TX on", "TX off", "TRX on", "TRX off"};
constexpr const char* kSwitchNames[6] = {"chbRxOn", "chbRxOff", "chbTxOn", "chbTxOff", "chbTrxOn", "chbTrxOff"};

AlignSwitch PartnerOf(AlignSwitch which)
{
    const int code = static_cast<int>(which);
    return static_cast<AlignSwitch>(code % 2 == 0 ? code + 1 : code - 1);
}

}  // namespace

void ToneCodeField::keyPressEvent(QKeyEvent* event)
{
    // Tab and the window's keys (Esc, Alt) keep their meaning.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab || event->key() == Qt::Key_Escape ||
        (event->modifiers() & Qt::AltModifier)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    emit ListRequested();
}

void ToneCodeField::mouseDoubleClickEvent(QMouseEvent*)
{
    emit ListRequested();
}

TfrmAlignment::TfrmAlignment(int point, Document& document, SerialPort& port, Prompter& prompter,
                             const LinkTiming& timing)
    : ServiceDialog(QStringLiteral("Alignment Mode (%1)").arg(ToQString(PointNames[size_t(std::clamp(point, 0, 3))])),
                    document, nullptr),
      point_(std::clamp(point, 0, 3)), prompter_(prompter), timing_(timing), link_{port, *this, SystemClock(), timing_}
{
    setObjectName(QStringLiteral("frmAlignment"));
    auto* body = new QGridLayout;

    auto* values = new QGridLayout;
    int line = 0;
    for (const AlignField& f : kFields) {
        values->addWidget(CaptionPanel(QString::fromLatin1(f.Caption), this), line, 0);
        values->addWidget(Edit(f.Key, f.PerPoint ? point_ : 0, f.Name), line, 1);
        ++line;
    }
    body->addLayout(values, 0, 0, 2, 1);

    auto* conditions = new QGridLayout;
    mode_ = List("cmbMode", {"Base", "Repeater"});
    powerType_ = List("cmbTPType", {"High", "Low"});
    width_ = List("cmbWN", {"Wide", "Narrow"});
    encoder_ = List("cmbEnc", {"off", "CTCSS", "DCS"});
    tone_ = new ToneCodeField(QStringLiteral("67.0"), this);
    code_ = new ToneCodeField(QStringLiteral("023"), this);
    tone_->setObjectName(QStringLiteral("edtCTCSS"));
    code_->setObjectName(QStringLiteral("edtDCS"));
    for (ToneCodeField* field : {tone_, code_}) {
        field->setReadOnly(true);
        field->setContextMenuPolicy(Qt::NoContextMenu);
    }
    connect(tone_, &ToneCodeField::ListRequested, this, [this] { ChooseFromList(true); });
    connect(code_, &ToneCodeField::ListRequested, this, [this] { ChooseFromList(false); });
    const std::pair<const char*, QWidget*> conditionRows[] = {
        {"&Mode Select", mode_},          {"Tx &Power Type", powerType_}, {"Wide/Na&rrow", width_},
        {"&CTCSS/DCS Encoder", encoder_}, {"CTCSS (T&one)", tone_},       {"DCS (C&ode)", code_},
    };
    line = 0;
    for (const auto& [caption, control] : conditionRows) {
        conditions->addWidget(CaptionPanel(QString::fromLatin1(caption), this), line, 0);
        conditions->addWidget(control, line, 1);
        ++line;
    }
    const char* statusNames[3] = {"edtVR", "edtNSQ", "edtRSSI"};
    const char* statusCaptions[3] = {"VR", "NSQ", "RSSI"};
    for (int i = 0; i < 3; ++i) {
        auto* field = new QLineEdit(QStringLiteral("---"), this);
        field->setObjectName(QString::fromLatin1(statusNames[i]));
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::NoFocus);
        statusFields_[size_t(i)] = field;
        conditions->addWidget(CaptionPanel(QString::fromLatin1(statusCaptions[i]), this), line, 0);
        conditions->addWidget(field, line, 1);
        ++line;
    }
    status_ = new QPushButton(QStringLiteral("Status"), this);
    status_->setObjectName(QStringLiteral("btnStat"));
    status_->setAutoDefault(false);
    connect(status_, &QPushButton::clicked, this, &TfrmAlignment::ReadStatus);
    conditions->addWidget(status_, line++, 1);
    body->addLayout(conditions, 0, 1);

    auto* switches = new QGridLayout;
    for (int i = 0; i < 6; ++i) {
        auto* button = new QPushButton(QString::fromLatin1(kSwitchCaptions[i]), this);
        button->setObjectName(QString::fromLatin1(kSwitchNames[i]));
        button->setCheckable(true);
        button->setAutoDefault(false);
        const auto which = static_cast<AlignSwitch>(i);
        connect(button, &QPushButton::clicked, this, [this, which] { Clicked(which); });
        switches_[size_t(i)] = button;
        switches->addWidget(button, i / 2, i % 2);
    }
    body->addLayout(switches, 1, 1);
    FinishLayout(body);

    const std::pair<QChar, std::vector<QWidget*>> accelerators[] = {
        {'A', {Field("MaxDevWide", point_)}},      {'C', {encoder_}},
        {'D', {Field("MaxDevNarrow", point_)}},    {'E', {Field("TxPowerLow", point_)}},
        {'F', {Field("RxAdjustFreq", point_)}},    {'H', {Field("TxPowerHigh", point_)}},
        {'L', {Field("SqlHysteresis")}},           {'M', {mode_}},
        {'N', {Field("CtcssDevNarrow", point_), Field("DcsDevNarrow", point_)}},
        {'O', {tone_, code_}},                     {'P', {powerType_}},
        {'Q', {Field("SqlNarrowOffset")}},         {'R', {width_}},
        {'S', {Field("SqlThreshold", point_)}},    {'T', {Field("TxAdjustFreq", point_)}},
        {'W', {Field("CtcssDevWide", point_), Field("DcsDevWide", point_)}},
        {'X', {Field("RxTuning", point_)}},
    };
    for (const auto& [letter, targets] : accelerators) AddAccelerator(letter, targets);

    // Showing: the values from the settings, the backup, the conditions and switches at rest.
    LoadFields();
    imageBackup_ = document_.Map();
    for (int i = 0; i < 6; ++i) switches_[size_t(i)]->setChecked(i % 2 == 1);
    for (QComboBox* list : {mode_, powerType_, width_, encoder_})
        connect(list, &QComboBox::currentIndexChanged, this, [this] { ApplyEnabling(); });
    ApplyEnabling();
    initialising_ = false;
}

QWidget* TfrmAlignment::Edit(std::string_view key, int index, const char* name)
{
    return AddField(key, index, QString::fromLatin1(name), true);
}

QComboBox* TfrmAlignment::List(const char* name, std::initializer_list<const char*> items)
{
    auto* list = new DropDownList(this);
    list->setObjectName(QString::fromLatin1(name));
    for (const char* item : items) list->addItem(QString::fromLatin1(item));
    list->setCurrentIndex(0);
    return list;
}

bool TfrmAlignment::Enter()
{
    return EnterAlignment(link_, prompter_);
}

AlignConditions TfrmAlignment::Conditions() const
{
    AlignConditions c;
    c.Repeater = mode_->currentIndex() == 1;
    c.LowPower = powerType_->currentIndex() == 1;
    c.Narrow = width_->currentIndex() == 1;
    c.Encoder = static_cast<AlignEncoder>(std::clamp(encoder_->currentIndex(), 0, 2));
    c.Tone = ToStdString(tone_->text());
    c.Code = ToStdString(code_->text());
    return c;
}

std::array<QString, 3> TfrmAlignment::StatusTexts() const
{
    return {statusFields_[0]->text(), statusFields_[1]->text(), statusFields_[2]->text()};
}

void TfrmAlignment::ApplyEnabling()
{
    const AlignConditions c = Conditions();
    for (int i = 0; i < 4; ++i) switches_[size_t(i)]->setEnabled(!c.Repeater);
    for (int i = 4; i < 6; ++i) switches_[size_t(i)]->setEnabled(c.Repeater);
    for (const AlignField& f : kFields)
        SetFieldEnabled(Field(f.Key, f.PerPoint ? point_ : 0), AlignFieldGreyedBecause(f.Key, c).empty());
    tone_->setEnabled(c.Encoder == AlignEncoder::Ctcss);
    code_->setEnabled(c.Encoder == AlignEncoder::Dcs);
}

void TfrmAlignment::Clicked(AlignSwitch which)
{
    if (initialising_) return;
    // The partner shows the opposite state; whichever box ends up checked sends its command.
    QPushButton* clicked = Switch(which);
    Switch(PartnerOf(which))->setChecked(!clicked->isChecked());
    Send(clicked->isChecked() ? which : PartnerOf(which));
}

void TfrmAlignment::Send(AlignSwitch which)
{
    setEnabled(false);
    StoreFields();
    // A wrong acknowledgement leaves the switch as it is, and a broken exchange has been shown.
    static_cast<void>(AlignCommand(link_, prompter_, which, point_, Conditions(), document_.Emem(), document_.Map()));
    setEnabled(true);
}

void TfrmAlignment::ReadStatus()
{
    setEnabled(false);
    AlignStatusTexts texts;
    if (AlignStatus(link_, prompter_, texts) == AlignOutcome::Done)
        for (size_t i = 0; i < texts.size(); ++i) statusFields_[i]->setText(ToQString(texts[i]));
    setEnabled(true);
}

void TfrmAlignment::ChooseFromList(bool tone)
{
    QLineEdit* field = tone ? tone_ : code_;
    const std::optional<QString> chosen =
        SelectFromList(this, tone ? ToneList::Ctcss : ToneList::Dcs, true, QString(), field->text());
    if (chosen) field->setText(*chosen);
}

void TfrmAlignment::Ok()
{
    accept();
}

void TfrmAlignment::done(int result)
{
    if (closing_) return;
    closing_ = true;
    if (result == QDialog::Accepted) {
        StoreFields();
        if (ServiceValuesDiffer(document_.Emem(), backup_, AlignmentKeys)) document_.SetModified();
    } else {
        document_.Emem() = backup_;  // every commit made by switching is undone
        document_.Map() = imageBackup_;  // and the image they were encoded into
    }
    setEnabled(false);
    LeaveAlignment(link_);
    setEnabled(true);
    QDialog::done(result);
}

void TfrmAlignment::PumpEvents()
{
    QApplication::processEvents();
}

std::span<const std::string_view> TfrmAlignment::CompareKeys() const { return AlignmentKeys; }

QString TfrmAlignment::HintFor(QWidget* focused) const
{
    if (qobject_cast<QPushButton*>(focused) && static_cast<QPushButton*>(focused)->isCheckable())
        return QStringLiteral("<SELECT>");
    return ServiceDialog::HintFor(focused);
}

}  // namespace qm54
