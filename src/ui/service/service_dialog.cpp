#include "ui/service/service_dialog.h"
#include "ui/common/qt_text.h"

#include <QApplication>
#include <QComboBox>
#include <QAbstractButton>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

#include "model/settings/service_fields.h"
#include "ui/common/help_viewer.h"

namespace qm54 {

namespace {

constexpr int kFieldWidth = 64;

// Steps the field's value by delta within its rule's range, as a committed value.
void Step(ValueEdit* edit, int delta)
{
    const FieldRule& rule = edit->Rule();
    const char separator = DecimalSeparator();
    const double value = ParseField(rule, ToStdString(edit->text()), separator).Number + delta;
    edit->ShowValue(ToQString(CommitField(rule, std::to_string(static_cast<int>(value)), separator)));
}

QWidget* WithUpDown(ValueEdit* edit, QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    for (const auto& [arrow, delta] : {std::pair{Qt::UpArrow, 1}, std::pair{Qt::DownArrow, -1}}) {
        auto* button = new QToolButton(box);
        button->setArrowType(arrow);
        button->setFixedSize(14, 11);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
        const int step = delta;
        QObject::connect(button, &QToolButton::clicked, edit, [edit, step] { Step(edit, step); });
        arrows->addWidget(button);
    }
    layout->addWidget(edit);
    layout->addLayout(arrows);
    return box;
}

}  // namespace

QLabel* CaptionPanel(const QString& caption, QWidget* parent)
{
    const qsizetype at = caption.indexOf(QLatin1Char('&'));
    QString html = caption.toHtmlEscaped();
    if (at >= 0 && at + 1 < caption.size())
        html = caption.left(at).toHtmlEscaped() + QStringLiteral("<u>") + QString(caption.at(at + 1)).toHtmlEscaped() +
               QStringLiteral("</u>") + caption.mid(at + 2).toHtmlEscaped();
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::RichText);
    label->setText(html);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
}

QChar AcceleratorOf(const QString& caption)
{
    const qsizetype at = caption.indexOf(QLatin1Char('&'));
    return at >= 0 && at + 1 < caption.size() ? caption.at(at + 1) : QChar();
}

ServiceDialog::ServiceDialog(const QString& caption, Document& document, QWidget* parent)
    : QDialog(parent), document_(document)
{
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { RequestHelp(HelpPage::Contents); });
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { FocusChanged(now); });
}

ServiceDialog::~ServiceDialog()
{
    disconnect(focusWatch_);
}

QWidget* ServiceDialog::AddField(std::string_view key, int index, const QString& objectName, bool enabled)
{
    auto* edit = new ValueEdit(ServiceRule(key), this);
    edit->setObjectName(objectName);
    edit->setFixedWidth(kFieldWidth);
    edit->setAlignment(Qt::AlignRight);
    fields_.push_back({edit, key, index, enabled});
    QWidget* placed = &edit->Rule() == &PointFrequencyRule ? static_cast<QWidget*>(edit) : WithUpDown(edit, this);
    Paint(fields_.back());
    return placed;
}

void ServiceDialog::AddPointCaptions(QGridLayout& grid)
{
    for (int p = 0; p < AlignmentPointCount; ++p)
        grid.addWidget(new QLabel(QStringLiteral(" ") + ToQString(PointNames[size_t(p)]), this), 0, p + 1);
}

void ServiceDialog::AddPointRow(QGridLayout& grid, int line, const char* caption, std::string_view key,
                                const char* stem, const std::array<const char*, AlignmentPointCount>& suffixes,
                                bool enabled)
{
    grid.addWidget(CaptionPanel(QString::fromLatin1(caption), this), line, 0);
    for (int p = 0; p < AlignmentPointCount; ++p) {
        const QString name = QString::fromLatin1(stem) + QString::fromLatin1(suffixes[size_t(p)]);
        grid.addWidget(AddField(key, p, name, enabled), line, p + 1);
    }
    AddAccelerator(AcceleratorOf(QString::fromLatin1(caption)), {Field(key, 0)});
}

void ServiceDialog::AddSingleRow(QGridLayout& grid, int line, const char* caption, std::string_view key,
                                 const char* name, bool enabled)
{
    grid.addWidget(CaptionPanel(QString::fromLatin1(caption), this), line, 0, 1, 2);
    grid.addWidget(AddField(key, 0, QString::fromLatin1(name), enabled), line, 2);
    AddAccelerator(AcceleratorOf(QString::fromLatin1(caption)), {Field(key, 0)});
}

void ServiceDialog::Paint(const Bound& field)
{
    // The up-down button's box, where there is one, carries the state for both.
    QWidget* holder = field.Edit->parentWidget() != this ? field.Edit->parentWidget() : field.Edit;
    holder->setEnabled(field.Enabled);
    QPalette palette = field.Edit->palette();
    palette.setColor(QPalette::Base, QApplication::palette().color(field.Enabled ? QPalette::Base : QPalette::Button));
    field.Edit->setPalette(palette);
}

void ServiceDialog::SetFieldEnabled(ValueEdit* edit, bool enabled)
{
    for (Bound& f : fields_) {
        if (f.Edit != edit) continue;
        f.Enabled = enabled;
        Paint(f);
    }
}

void ServiceDialog::AddAccelerator(QChar letter, const std::vector<QWidget*>& targets)
{
    auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key(letter.toUpper().unicode())), this);
    connect(shortcut, &QShortcut::activated, this, [targets] {
        for (QWidget* target : targets) {
            if (target->isEnabled()) {
                target->setFocus(Qt::ShortcutFocusReason);
                return;
            }
        }
    });
}

void ServiceDialog::FinishLayout(QLayout* body)
{
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(body);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    ok_->setObjectName(QStringLiteral("btnOK"));
    cancel_->setObjectName(QStringLiteral("btnCancel"));
    for (QPushButton* button : {ok_, cancel_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(ok_, &QPushButton::clicked, this, [this] { Ok(); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    outer->addLayout(buttons);

    hintLeft_ = new QLabel(this);
    hintRight_ = new QLabel(QStringLiteral("<SELECT>"), this);
    hintLeft_->setObjectName(QStringLiteral("pnlHint1"));
    hintRight_->setObjectName(QStringLiteral("pnlHint2"));
    for (QLabel* panel : {hintLeft_, hintRight_}) panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    hintRight_->setFixedWidth(80);
    auto* hints = new QHBoxLayout;
    hints->addWidget(hintLeft_, 1);
    hints->addWidget(hintRight_);
    outer->addLayout(hints);
    outer->setSizeConstraint(QLayout::SetFixedSize);
}

void ServiceDialog::LoadFields()
{
    backup_ = document_.Emem();
    const char separator = DecimalSeparator();
    for (const Bound& f : fields_) {
        f.Edit->ShowValue(ToQString(ServiceFieldText(document_.Emem(), f.Key, f.Index, separator)));
        Paint(f);  // showing a value paints the display state
    }
}

void ServiceDialog::StoreFields()
{
    const char separator = DecimalSeparator();
    for (const Bound& f : fields_) {
        if (f.Edit->EditActive()) f.Edit->Commit();
        StoreServiceField(document_.Emem(), f.Key, f.Index, ToStdString(f.Edit->text()), separator);
    }
}

void ServiceDialog::Ok()
{
    StoreFields();
    if (ServiceValuesDiffer(document_.Emem(), backup_, CompareKeys())) document_.SetModified();
    accept();
}

ValueEdit* ServiceDialog::Field(std::string_view key, int index) const
{
    for (const Bound& f : fields_)
        if (f.Key == key && f.Index == index) return f.Edit;
    return nullptr;
}

QString ServiceDialog::HintText() const { return hintRight_->text(); }

QString ServiceDialog::HintFor(QWidget* focused) const
{
    if (qobject_cast<QLineEdit*>(focused)) return QStringLiteral("<ENTER>");
    if (qobject_cast<QComboBox*>(focused)) return QStringLiteral("<SELECT>");
    return {};
}

void ServiceDialog::FocusChanged(QWidget* now)
{
    if (!now || now->window() != this || !hintRight_) return;
    hintLeft_->clear();
    hintRight_->setText(HintFor(now));
}

void KeepPointOrder(const std::array<ValueEdit*, AlignmentPointCount>& fields)
{
    for (int point = 0; point < AlignmentPointCount; ++point) {
        fields[static_cast<size_t>(point)]->SetCommitCheck([fields, point](const QString& committed) {
            const char separator = DecimalSeparator();
            std::array<double, AlignmentPointCount> points{};
            for (size_t i = 0; i < points.size(); ++i) points[i] = PointFrequencyOf(ToStdString(fields[i]->text()), separator);
            return FitsPointOrder(points, point, PointFrequencyOf(ToStdString(committed), separator));
        });
    }
}

}  // namespace qm54
