#include "Trial/Trial.h"

#include "Trial/ResultField.h"
#include "Trial/TrialAccessible.h"
#include "Verify/Announcer.h"
#include "Verify/CaptionLabels.h"
#include "Verify/TextBoundaries.h"
#include "Verify/Kyuho.h"
#include "Verify/TaxRules.h"
#include "slip/SlipDraw.h"
#include "slip/SlipInk.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStringList>
#include <QValidator>

#include <algorithm>

namespace mivrel {

namespace {

constexpr int ClientWidth = 386;
constexpr int ClientHeight = 275;
constexpr int FontPixels = 13;

// How many digits the user may type into a field; other characters, the
// commas that group digits among them, do not count.
constexpr int TypingLimit = 8;

constexpr int SliderTop = 9;
constexpr int SliderWidth = 33;
constexpr int SliderHeight = 216;
constexpr int SliderPositions = 10000;
constexpr std::int64_t SalaryPerPosition = 5000;
constexpr std::int64_t DeductionPerPosition = 500;

// Refuses an edit that leaves more digits in a field than its limit, ASCII
// and full-width alike (QLineEdit undoes a refused edit). A field holds at
// most 8 typed digits, but a longer text the program put there stays whole:
// the limit follows such a text down as it is shortened and never lets it
// grow.
class DigitLimit : public QValidator {
public:
    explicit DigitLimit(QObject *parent)
        : QValidator(parent)
    {
    }
    State validate(QString &input, int &) const override
    {
        return CountDigits(input) <= Limit ? Acceptable : Invalid;
    }
    // Lets the field keep `text`, and no more digits than 8 or than it has.
    void FitTo(const QString &text) { Limit = std::max<qsizetype>(TypingLimit, CountDigits(text)); }

private:
    qsizetype Limit = TypingLimit;
};

// The limit that each field owns.
DigitLimit &LimitOf(const QLineEdit &field)
{
    return *static_cast<DigitLimit *>(field.findChild<QValidator *>(QString(), Qt::FindDirectChildrenOnly));
}

// Sets a field's text whatever its length: the program's texts are not cut
// to the typing limit.
void SetFieldText(QLineEdit &field, const QString &text)
{
    LimitOf(field).FitTo(text);
    field.setText(text);
}

// The amount of a slider position: `perPosition` yen for each position
// above the bottom (position 0 is the top).
QString SliderAmount(int position, std::int64_t perPosition)
{
    return QString::number((SliderPositions - position) * perPosition);
}

// Stores `value` as the one last shown and tells whether it differs.
bool TakeIfChanged(std::int32_t &shown, std::int32_t value)
{
    if (value == shown)
        return false;
    shown = value;
    return true;
}

// Frames and sliders are outlined in shades of the window colour (a darker
// window colour, or the palette's light and dark shades). A black or nearly
// black window has no darker shade to show, and the frames round the results
// and the sliders vanish: there they are outlined in shades of the window's
// text colour instead. Palettes whose outlines show are left as they are.
void KeepOutlineVisible(QWidget &widget)
{
    QPalette colours = widget.palette();
    const QColor window = colours.color(QPalette::Window);
    if (ContrastRatio(window.darker(140), window) >= 1.5)
        return;
    const QColor ink = colours.color(QPalette::WindowText);
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Light, QPalette::Midlight, QPalette::Dark,
                                     QPalette::Mid, QPalette::Shadow})
        colours.setColor(role, ink);
    widget.setPalette(colours);
}

} // namespace

TdlgTrial::TdlgTrial(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgTrial"));
    setWindowTitle(QStringLiteral("税額の試算"));
    setFixedSize(ClientWidth, ClientHeight);
    QFont face(SystemFace);
    face.setPixelSize(FontPixels);
    setFont(face);

    InstallLineEditAccessibility();
    InstallSliderAccessibility();
    BuildControls();
    SetTabOrder();
    ReportControlsShown(*this);
    FormCreate();
    ConnectHandlers();
}

// The frames come first so that the result labels lie on top of them. Each
// caption names its field, slider or result for a screen reader; a slider
// shares the caption of the field it sets.
void TdlgTrial::BuildControls()
{
    QLabel *salary = AddCaption("lblKyuyoSyunyu", QStringLiteral("給与収入"), 13, 13);
    medKyuyoSyunyu = AddField(*salary, "medKyuyoSyunyu", QRect(18, 40, 135, 17));
    lblDispKyuyoSyotoku = AddResult(*AddCaption("lblKyuyoSyotoku", QStringLiteral("給与所得"), 13, 69),
                                    "lblDispKyuyoSyotoku", "bevKyuyoSyotoku",
                                    QRect(16, 88, 137, 25), QRect(24, 96, 121, 17));
    lblDispKazeiSyotoku = AddResult(*AddCaption("lblKazeiSyotoku", QStringLiteral("課税所得金額"), 13, 125),
                                    "lblDispKazeiSyotoku", "bevKazeiSyotoku",
                                    QRect(16, 144, 137, 25), QRect(24, 152, 121, 17));
    lblDispZeiritu = AddResult(*AddCaption("lblZeiritu", QStringLiteral("税率"), 13, 181),
                               "lblDispZeiritu", "bevZeiritu",
                               QRect(16, 200, 137, 25), QRect(24, 208, 121, 17));
    traKyuyoSyunyu = AddSlider(*salary, "traKyuyoSyunyu", 160, 1, SalaryPerPosition);

    QLabel *deductions = AddCaption("lblKoujoGoukei", QStringLiteral("控除合計"), 197, 13);
    medKoujoGoukei = AddField(*deductions, "medKoujoGoukei", QRect(204, 40, 133, 17));
    medJutakusyutokutou = AddField(*AddCaption("lblJutakusyutokutou", QStringLiteral("住宅取得等特別控除"), 197, 69),
                                   "medJutakusyutokutou", QRect(206, 96, 131, 17));
    lblDispSyotokuzeigaku = AddResult(*AddCaption("lblSyotokuzeigaku", QStringLiteral("所得税額"), 197, 125),
                                      "lblDispSyotokuzeigaku", "bevSyotokuzeigaku",
                                      QRect(200, 144, 137, 25), QRect(208, 152, 121, 17));
    lblDispTakubetuGenzei = AddResult(*AddCaption("lblTakubetuGenzei", QStringLiteral("特別減税額"), 197, 181),
                                      "lblDispTakubetuGenzei", "bevTakubetuGenzei",
                                      QRect(200, 200, 137, 25), QRect(208, 208, 121, 17));
    traKoujoGoukei = AddSlider(*deductions, "traKoujoGoukei", 344, 2, DeductionPerPosition);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(120, 240, 77, 27);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
}

// A caption label sized to its text, top-left corner at (x, y).
QLabel *TdlgTrial::AddCaption(const char *name, const QString &text, int x, int y)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(QLatin1String(name));
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLineEdit *TdlgTrial::AddField(QLabel &caption, const char *name, const QRect &bounds)
{
    auto *field = new QLineEdit(QStringLiteral("0"), this);
    field->setObjectName(QLatin1String(name));
    field->setGeometry(bounds);
    field->setValidator(new DigitLimit(field));
    NameByCaption(caption, *field);
    return field;
}

// A right-aligned value label inside a lowered bevel frame.
QLabel *TdlgTrial::AddResult(QLabel &caption, const char *labelName, const char *frameName,
                             const QRect &frame, const QRect &bounds)
{
    auto *bevel = new QFrame(this);
    bevel->setObjectName(QLatin1String(frameName));
    bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bevel->setGeometry(frame);
    KeepOutlineVisible(*bevel);
    NamelessForReaders(*bevel);

    auto *label = new QLabel(QStringLiteral("0"), this);
    label->setObjectName(QLatin1String(labelName));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(bounds);
    // A keyboard user reaches the result with Tab to hear it again.
    auto *field = new ResultField(*label, caption.text());
    field->setObjectName(QString::fromLatin1(labelName).replace(QLatin1String("lblDisp"), QLatin1String("fld")));
    ResultFields << field;
    return label;
}

// A vertical slider 0..10000 with 0 at the top, where the arrow keys move
// one position and Page Up / Page Down `pageStep` positions; each position
// stands for `perPosition` yen.
QSlider *TdlgTrial::AddSlider(const QLabel &caption, const char *name, int x, int pageStep,
                              std::int64_t perPosition)
{
    auto *slider = new QSlider(Qt::Vertical, this);
    SetSliderAmounts(*slider, SliderPositions, perPosition);
    slider->setObjectName(QLatin1String(name));
    slider->setAccessibleName(caption.text());
    slider->setGeometry(x, SliderTop, SliderWidth, SliderHeight);
    slider->setRange(0, SliderPositions);
    slider->setInvertedAppearance(true);
    slider->setInvertedControls(true);
    slider->setTickPosition(QSlider::TicksLeft);
    slider->setTickInterval(SliderPositions);
    slider->setSingleStep(1);
    slider->setPageStep(pageStep);
    slider->setValue(0);
    KeepOutlineVisible(*slider);
    return slider;
}

// Tab order: OK, the three fields, the two sliders, then the five results
// in reading order (left column, then right). OK has the focus at the first opening; later openings
// find the focus where it was left, because the dialog keeps its focus child
// while hidden.
void TdlgTrial::SetTabOrder()
{
    QList<QWidget *> order{OKBtn, medKyuyoSyunyu, medKoujoGoukei, medJutakusyutokutou, traKyuyoSyunyu,
                           traKoujoGoukei};
    for (ResultField *field : ResultFields)
        order << field;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    OKBtn->setFocus();
}

void TdlgTrial::ConnectHandlers()
{
    for (QLineEdit *field : {medKyuyoSyunyu, medKoujoGoukei, medJutakusyutokutou})
        connect(field, &QLineEdit::textChanged, this, [field] { LimitOf(*field).FitTo(field->text()); });
    connect(medKyuyoSyunyu, &QLineEdit::textChanged, this, &TdlgTrial::medKyuyoSyunyuChange);
    connect(medKoujoGoukei, &QLineEdit::textChanged, this, &TdlgTrial::medKoujoGoukeiChange);
    connect(medJutakusyutokutou, &QLineEdit::textChanged, this,
            &TdlgTrial::medJutakusyutokutouChange);
    connect(traKyuyoSyunyu, &QSlider::valueChanged, this, &TdlgTrial::traKyuyoSyunyuChange);
    connect(traKoujoGoukei, &QSlider::valueChanged, this, &TdlgTrial::traKoujoGoukeiChange);
}

void TdlgTrial::FormCreate()
{
    KyuyoSyunyu = 0;
    KoujoGoukei = 0;
    Jutakusyutokutou = 0;
    KyuyoSyotoku = 0;
    KazeiSyotoku = 0;
    Zeiritu = 0;
    Syotokuzeigaku = 0;
    TakubetuGenzei = 0;
}

void TdlgTrial::InitFromSlip(const TKyuho &slip)
{
    const auto load = [&slip](QLineEdit &field, Slot::Amount slot) {
        const std::int32_t amount = slip.amounts[slot];
        if (amount != BlankAmount)
            SetFieldText(field, QString::number(amount));
    };
    load(*medKyuyoSyunyu, Slot::SalaryPaid);
    load(*medKoujoGoukei, Slot::DeductionTotal);
    load(*medJutakusyutokutou, Slot::HousingCredit);
    Recalculate();
}

void TdlgTrial::medKyuyoSyunyuChange()
{
    KyuyoSyunyu = ReadInteger(medKyuyoSyunyu->text());
    Recalculate();
}

void TdlgTrial::medKoujoGoukeiChange()
{
    KoujoGoukei = ReadInteger(medKoujoGoukei->text());
    Recalculate();
}

void TdlgTrial::medJutakusyutokutouChange()
{
    Jutakusyutokutou = ReadInteger(medJutakusyutokutou->text());
    Recalculate();
}

// The field follows the slider; the field's own change handler recalculates.
// Typing never moves a slider back.
void TdlgTrial::traKyuyoSyunyuChange(int position)
{
    SetFieldText(*medKyuyoSyunyu, SliderAmount(position, SalaryPerPosition));
}

void TdlgTrial::traKoujoGoukeiChange(int position)
{
    SetFieldText(*medKoujoGoukei, SliderAmount(position, DeductionPerPosition));
}

// A result shown anew as a screen reader says it: its caption and value.
QString TdlgTrial::Spoken(const QLabel &label) const
{
    for (const ResultField *field : ResultFields)
        if (&field->Value() == &label)
            return field->accessibleName() + u' ' + label.text();
    return label.text();
}

void TdlgTrial::Recalculate()
{
    QStringList changed;  // the results shown anew, as a screen reader tells them
    const auto show = [this, &changed](QLabel &label, const QString &text) {
        label.setText(text);
        changed << Spoken(label);
    };
    if (TakeIfChanged(KyuyoSyotoku, SalaryIncome(KyuyoSyunyu)))
        show(*lblDispKyuyoSyotoku, GroupedNumber(KyuyoSyotoku));

    if (TakeIfChanged(KazeiSyotoku, TaxableIncome(KyuyoSyotoku, KoujoGoukei))) {
        show(*lblDispKazeiSyotoku, GroupedNumber(KazeiSyotoku));
        if (TakeIfChanged(Zeiritu, TaxRate(KazeiSyotoku)))
            show(*lblDispZeiritu, QString::number(Zeiritu) + u'%');
    }

    const TaxDueResult due = TaxDue(KazeiSyotoku, Jutakusyutokutou);
    if (TakeIfChanged(Syotokuzeigaku, due.Due))
        show(*lblDispSyotokuzeigaku, GroupedNumber(Syotokuzeigaku));
    if (TakeIfChanged(TakubetuGenzei, due.Reduction))
        show(*lblDispTakubetuGenzei, GroupedNumber(TakubetuGenzei));
    // While the user works in the dialog, every change is announced.
    if (isVisible() && !changed.isEmpty())
        Announce(*this, changed.join(u'、'));
}

} // namespace mivrel
