#include "ui/service/adjust_dialogs.h"
#include "ui/common/qt_text.h"

#include <QGridLayout>
#include <QLabel>

#include "model/settings/service_fields.h"

namespace qm54 {

namespace {

// A row of four point fields: caption, setting and the stem of the control names.
struct PointRow {
    const char* Caption;
    std::string_view Key;
    const char* Stem;
};

struct SingleRow {
    const char* Caption;
    std::string_view Key;
    const char* Name;
};

using Suffixes = std::array<const char*, AlignmentPointCount>;
constexpr Suffixes kRxSuffixes{"Lowest", "Low", "High", "Highest"};
constexpr Suffixes kTxSuffixes{"LL", "L", "H", "HH"};

constexpr PointRow kRxRows[] = {
    {"&Rx Frequency (MHz)", "RxAdjustFreq", "edtFreq"},
    {"&Turning", "RxTuning", "edtTune"},
    {"&SQL Threshold Level", "SqlThreshold", "edtSql"},
};
constexpr SingleRow kRxSingles[] = {
    {"&NSQ Threshold Level", "NsqThreshold", "edtNsqLevel"},
    {"SQL &Hysteresis", "SqlHysteresis", "edtSqlHyster"},
    {"SQL Narrow &Offset", "SqlNarrowOffset", "edtSqlNarrow"},
};

constexpr PointRow kTxRows[] = {
    {"Tx &Frequency (MHz)", "TxAdjustFreq", "edtFreq"},
    {"Tx Power &High", "TxPowerHigh", "edtHigh"},
    {"Tx Power &Low", "TxPowerLow", "edtLow"},
    {"Max Deviation &Wide", "MaxDevWide", "edtMaxW"},
    {"Max Deviation &Narrow", "MaxDevNarrow", "edtMaxN"},
    {"&CTCSS Deviation Wide", "CtcssDevWide", "edtCtcssW"},
    {"C&TCSS Deviation Narrow", "CtcssDevNarrow", "edtCtcssN"},
    {"DCS &Deviation Wide", "DcsDevWide", "edtDcsW"},
    {"DCS D&eviation Narrow", "DcsDevNarrow", "edtDcsN"},
};
constexpr SingleRow kTxSingles[] = {
    {"Tx Power Display H&igh", "TxPowerDisplayHigh", "edtDispHigh"},
    {"Tx Power Display L&ow", "TxPowerDisplayLow", "edtDispLow"},
};

constexpr const char* kChannelCaptions[ChannelCount] = {
    "Channel 0&1", "Channel 0&2", "Channel 0&3", "Channel 0&4", "Channel 0&5", "Channel 0&6",
    "Channel 0&7", "Channel 0&8", "Channel 0&9", "Channel 1&0", "&Channel 11", "C&hannel 12",
    "Ch&annel 13", "Cha&nnel 14", "Chann&el 15", "Channe&l 16",
};

std::array<ValueEdit*, AlignmentPointCount> PointFields(const ServiceDialog& dialog, std::string_view key)
{
    return {dialog.Field(key, 0), dialog.Field(key, 1), dialog.Field(key, 2), dialog.Field(key, 3)};
}

}  // namespace

TfrmRxAdjust::TfrmRxAdjust(Document& document, OperatingMode mode, QWidget* parent)
    : ServiceDialog(QStringLiteral("Rx Adjustment"), document, parent)
{
    setObjectName(QStringLiteral("frmRxAdjust"));
    const bool service = mode != OperatingMode::Normal;
    auto* grid = new QGridLayout;
    AddPointCaptions(*grid);
    int line = 1;
    for (const PointRow& row : kRxRows) AddPointRow(*grid, line++, row.Caption, row.Key, row.Stem, kRxSuffixes, service);
    for (const SingleRow& row : kRxSingles) AddSingleRow(*grid, line++, row.Caption, row.Key, row.Name, service);
    FinishLayout(grid);
    KeepPointOrder(PointFields(*this, "RxAdjustFreq"));
    LoadFields();
}

std::span<const std::string_view> TfrmRxAdjust::CompareKeys() const { return RxAdjustKeys; }

TfrmTxAdjust::TfrmTxAdjust(Document& document, OperatingMode mode, QWidget* parent)
    : ServiceDialog(QStringLiteral("Tx Adjustment"), document, parent)
{
    setObjectName(QStringLiteral("frmTxAdjust"));
    auto* grid = new QGridLayout;
    AddPointCaptions(*grid);
    int line = 1;
    for (const PointRow& row : kTxRows)
        AddPointRow(*grid, line++, row.Caption, row.Key, row.Stem, kTxSuffixes, mode != OperatingMode::Normal);
    // The power display calibration is a factory setting.
    for (const SingleRow& row : kTxSingles)
        AddSingleRow(*grid, line++, row.Caption, row.Key, row.Name, mode == OperatingMode::Manufacture);
    FinishLayout(grid);
    KeepPointOrder(PointFields(*this, "TxAdjustFreq"));
    LoadFields();
}

std::span<const std::string_view> TfrmTxAdjust::CompareKeys() const { return TxAdjustKeys; }

TfrmTxPower::TfrmTxPower(Document& document, OperatingMode mode, QWidget* parent)
    : ServiceDialog(QStringLiteral("Tx Power Adjust"), document, parent)
{
    setObjectName(QStringLiteral("frmTxPower"));
    auto* grid = new QGridLayout;
    const bool service = mode != OperatingMode::Normal;
    constexpr int kRowsPerColumn = 8;
    for (int n = 0; n < ChannelCount; ++n) {
        const int row = n % kRowsPerColumn;
        const int column = 2 * (n / kRowsPerColumn);
        const QString caption = QString::fromLatin1(kChannelCaptions[n]);
        grid->addWidget(CaptionPanel(caption, this), row, column);
        const QString name = QStringLiteral("edtCh%1").arg(n + 1, 2, 10, QLatin1Char('0'));
        grid->addWidget(AddField("TxPowerAdjust", n, name, service), row, column + 1);
        // These shortcuts do not test whether the field is enabled; a disabled one takes no focus.
        AddAccelerator(AcceleratorOf(caption), {Field("TxPowerAdjust", n)});
    }
    FinishLayout(grid);
    LoadFields();
}

std::span<const std::string_view> TfrmTxPower::CompareKeys() const { return TxPowerKeys; }

}  // namespace qm54
