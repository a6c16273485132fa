#include "Verify/Verify.h"

#include "Verify/CaptionLabels.h"
#include "Verify/TaxCheck.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace mivrel {
namespace {

struct DeductionCaption {
    const char *ValueName;
    QString Caption;
    QString Hint;
};

// The 21 deduction lines in the order of the verification arithmetic: three
// columns of seven, top to bottom.
const std::array<DeductionCaption, DeductionLineCount> &DeductionCaptions()
{
    static const std::array<DeductionCaption, DeductionLineCount> captions{{
        {"dispHaikou", QStringLiteral("配偶者控除"),
         QStringLiteral("所得者と生計を一にする配偶者で、合計所得金額が３８万円以下の人をいいます。")},
        {"dispRouhai", QStringLiteral("老人配偶者加算"),
         QStringLiteral("控除対象配偶者のうち、年齢７０歳以上の人(昭和２年１月１日以前に生まれた人)をいいます。")},
        {"dispHaitoku", QStringLiteral("配偶者特別控除"),
         QStringLiteral("所得者が生計を一にする配偶者の合計所得金額に応じて計算される金額を控除することをいいます。")},
        {"dispTokutei", QStringLiteral("特定扶養控除"),
         QStringLiteral("扶養親族のうち、年齢１６歳以上２３歳未満の人(昭和４９年１月２日から昭和５６年１月１日までの間に生まれた人)をいいます。")},
        {"dispRojin", QStringLiteral("老人扶養控除"),
         QStringLiteral("扶養親族のうち、年齢７０歳以上の人(昭和２年１月１日以前に生まれた人)をいいます。")},
        {"dispDoukyoRosin", QStringLiteral("同居老親加算"),
         QStringLiteral("老人扶養親族のうち、所得者又はその配偶者の直系尊属(父母や祖父母などをいいます。)で所得者又はその配偶者のいずれかとの同居を常況としている人をいいます。")},
        {"dispHuyou", QStringLiteral("一般扶養控除"),
         QStringLiteral("所得者と生計を一にする親族で、合計所得金額が３８万円以下の人をいいます。")},
        {"dispTokusyo", QStringLiteral("特別障害者控除"),
         QStringLiteral("控除対象配偶者、扶養親族で、身体障害者福祉法の規定により交付を受けた身体障害者手帳に、身体上の障害の程度が１級又は２級である者として記載されている人等をいいます。")},
        {"dispDokyoTokusyo", QStringLiteral("同居特障加算"),
         QStringLiteral("控除対象配偶者、扶養親族のうち、特別障害者に該当する人で、所得者又はその配偶者と生計を一にするその他の親族のいずれかとの同居を常況としている人をいいます。")},
        {"dispSonotaSyogai", QStringLiteral("一般障害者控除"),
         QStringLiteral("控除対象配偶者、扶養親族で、身体障害者福祉法の規定により交付を受けた身体障害者手帳に、身体上の障害がある者として記載されている人等をいいます。")},
        {"dispHonninTokusyo", QStringLiteral("本人特別傷害"),
         QStringLiteral("所得者本人で、身体障害者福祉法の規定により交付を受けた身体障害者手帳に、身体上の障害の程度が１級又は２級である者として記載されている人等をいいます。")},
        {"dispHonninnSonotaSyogai", QStringLiteral("本人一般障害"),
         QStringLiteral("所得者本人で、身体障害者福祉法の規定により交付を受けた身体障害者手帳に、身体上の障害がある者として記載されている人等をいいます。")},
        {"dispRonensya", QStringLiteral("老年者控除"),
         QStringLiteral("所得者本人が、年齢６５歳以上(昭和７年１月１日以前に生まれた人)で、合計所得金額が１，０００万円以下の人をいいます。")},
        {"dispKahu", QStringLiteral("一般寡婦控除"),
         QStringLiteral("所得者本人が、老年者でなく、夫が死亡又は生死不明あるいは離婚してから婚姻をしていない人で、かつ扶養親族又は生計を一にする子がある場合、もしくは夫が死亡又は生死不明で、合計所得金額が５００万円以下の人をいいます。 ")},
        {"dispTokubetuKahu", QStringLiteral("特別寡婦控除"),
         QStringLiteral("寡婦のうち、扶養親族である子を有し、かつ合計所得金額が５００万円以下の人をいいます。")},
        {"dispKaotto", QStringLiteral("寡夫控除"),
         QStringLiteral("所得者本人が、老年者でなく、妻と死別し又は離婚してから婚姻をしていない人あるいは妻の生死が不明である人で、かつ生計を一にする子がある人で、かつ合計所得金額が５００万円以下の人をいいます。")},
        {"dispKinrougakusei", QStringLiteral("勤労学生控除"),
         QStringLiteral("所得者本人が、大学、高等専門学校、高等学校、中学校、小学校、盲学校、ろう学校等の学生等で、合計所得金額が６５万円以下で、かつ合計所得金額のうち給与所得以外の所得金額が１０万円以下の人をいいます。")},
        {"dispSyaho", QStringLiteral("社会保険料等"),
         QStringLiteral("健康保険、雇用保険、国民年金、厚生年金保険等の支払った保険料の総額を控除することをいいます。")},
        {"dispSeiho", QStringLiteral("生命保険料控除"),
         QStringLiteral("生命保険会社と締結した生命保険契約等に基づいて支払った保険料や掛金を一般の生命保険料及び個人年金保険料に区分した金額に応じて計算される金額を控除することをいいます。")},
        {"dispSonho", QStringLiteral("損害保険料控除"),
         QStringLiteral("損害保険会社と締結した損害保険契約等に基づいて支払った保険料や掛金を短期損害保険料及び長期損害保険料に区分した金額に応じて計算される金額を控除することをいいます。")},
        {"dispKisoKojo", QStringLiteral("基礎控除"),
         QStringLiteral("３８万円を控除することをいいます。(必要用件はありません。)")},
    }};
    return captions;
}

constexpr int ColumnCaptionLeft[] = {17, 156, 295};
constexpr int ColumnValueRight[] = {148, 287, 425};
constexpr int RowTop[] = {12, 28, 44, 61, 77, 93, 110};
constexpr int LabelHeight = 16;
constexpr int ValueWidth = 100;

const QString TotalComputedHint = QStringLiteral(
    "源泉徴収票の控除項目に関する内訳から合計を出した金額です。各内訳は、上枠の通りです。");
const QString TaxableHint = QStringLiteral(
    "給与所得から控除合計を差し引き、1,000未満の金額を切り捨てた金額です。");
const QString TaxHint = QStringLiteral(
    "課税所得金額から計算して求めた税額から、住宅取得等特別控除と、特別減税を行ない、100円未満の金額を切り捨てた金額です。");
const QString TotalStatedHint = QStringLiteral(
    "源泉徴収票の’所得控除の額の合計額’の金額です。上の’控除合計計算値’と一致しない場合、計算誤りがあります。");
const QString StatedTaxHint = QStringLiteral(
    "源泉徴収票の’源泉徴収税額’の金額です。上の’所得税額計算値’と一致しない場合、計算誤りがあります。");

// The captions and values of the middle and lower frames: the salary income,
// the two rows of the computation, the housing credit and the stated tax.
struct TaxRowLine {
    const char *CaptionName;
    QString Caption;
    int Left, Top;
    QString Hint;
    const char *ValueName;
    int RightEdge, ValueTop;
};

const std::array<TaxRowLine, 9> &TaxRowLines()
{
    static const std::array<TaxRowLine, 9> lines{{
        {"lblKyuyoSyotoku", QStringLiteral("給与所得"), 23, 162, {}, "dispKyuyoSyotoku", 75, 179},
        {"lblKojoGokeiKeisan", QStringLiteral("控除合計計算値"), 110, 144, TotalComputedHint,
         "dispKojoGokeiKeisan", 191, 162},
        {"lblKazeiSyotokuKeisan1", QStringLiteral("課税所得計算値"), 220, 144, TaxableHint,
         "dispKazeiSyotokuKeisan1", 308, 162},
        {"lblSyotokuzeikeisan1", QStringLiteral("所得税額計算値"), 341, 144, TaxHint, "dispSyotokuzeikeisan1", 423, 162},
        {"lblKojoGokeiNyuryoku", QStringLiteral("控除合計入力値"), 110, 185, TotalStatedHint,
         "dispKojoGokeiNyuryoku", 191, 202},
        {"lblKazeiSyotokuKeisan2", QStringLiteral("課税所得計算値"), 222, 185, TaxableHint,
         "dispKazeiSyotokuKeisan2", 306, 202},
        {"lblSyotokuzeikeisan2", QStringLiteral("所得税額計算値"), 341, 185, TaxHint, "dispSyotokuzeikeisan2", 423, 202},
        {"lblJutakuSyutoku", QStringLiteral("住宅取得等特別控除"), 110, 231, {}, "dispJutakuSyutoku", 214, 248},
        {"lblSyotokuzeiNyuryoku", QStringLiteral("所得税額入力値"), 337, 231, StatedTaxHint,
         "dispSyotokuzeiNyuryoku", 419, 248},
    }};
    return lines;
}

} // namespace

TdlgVerifyTax::TdlgVerifyTax(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgVerifyTax"));
    setWindowTitle(QStringLiteral("税額の検算"));
    QFont font(QStringLiteral("System"));
    font.setPixelSize(13);
    setFont(font);
    setFixedSize(442, 302);

    addFrame(6, 6, 426, 121, QFrame::Raised);
    addFrame(6, 139, 426, 81, QFrame::Sunken);
    addFrame(6, 225, 426, 42, QFrame::Sunken);
    addRule(88, 177, 426 - 88, 2);   // between the two rows
    addRule(72, 128, 2, 153 - 128);  // connector: down from the upper frame ...
    addRule(72, 153, 105 - 72, 2);   // ... and across to the row-1 captions

    buildDeductionLines();
    buildTaxRows();

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(191, 272, 76, 26);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    OKBtn->setFocus();
    ReportControlsShown(*this);
}

QLabel *TdlgVerifyTax::valueLabel(const QString &objectName) const
{
    return findChild<QLabel *>(objectName);
}

QLabel *TdlgVerifyTax::addCaption(const QString &name, const QString &text, int left, int top,
                                  const QString &hint)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(name);
    label->adjustSize();
    label->move(left, top);
    label->setToolTip(hint);
    return label;
}

// A right-aligned value label whose right edge stays at `rightEdge`. It lets
// the pointer through so that the caption beneath keeps its tooltip. A screen
// reader announces it with `caption`.
QLabel *TdlgVerifyTax::addValue(QLabel *caption, const QString &name, int rightEdge, int top)
{
    auto *label = new QLabel(name, this);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    label->setGeometry(rightEdge - ValueWidth, top, ValueWidth, LabelHeight);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    CaptionValue(*caption, *label);
    return label;
}

void TdlgVerifyTax::addFrame(int left, int top, int width, int height, int shadow)
{
    auto *frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Panel | shadow);
    frame->setGeometry(left, top, width, height);
    frame->lower();
    NamelessForReaders(*frame);
}

void TdlgVerifyTax::addRule(int left, int top, int width, int height)
{
    auto *rule = new QFrame(this);
    rule->setFrameStyle((width > height ? QFrame::HLine : QFrame::VLine) | QFrame::Sunken);
    rule->setGeometry(left, top, width, height);
    NamelessForReaders(*rule);
}

void TdlgVerifyTax::buildDeductionLines()
{
    const auto &captions = DeductionCaptions();
    for (int i = 0; i < DeductionLineCount; ++i) {
        const int column = i / 7;
        const int top = RowTop[i % 7];
        const QString valueName = QString::fromLatin1(captions[i].ValueName);
        const QString captionName = QStringLiteral("lbl") + valueName.mid(4);
        QLabel *caption = addCaption(captionName, captions[i].Caption, ColumnCaptionLeft[column], top,
                                     captions[i].Hint);
        addValue(caption, valueName, ColumnValueRight[column], top);
    }
}

void TdlgVerifyTax::buildTaxRows()
{
    for (const TaxRowLine &line : TaxRowLines())
        addValue(addCaption(QString::fromLatin1(line.CaptionName), line.Caption, line.Left, line.Top, line.Hint),
                 QString::fromLatin1(line.ValueName), line.RightEdge, line.ValueTop);
}

void FillVerifyTax(TdlgVerifyTax &dlg, const TKyuho &slip)
{
    const TaxVerification v = VerifyTax(slip);
    const auto set = [&dlg](const char *name, const AmountLine &line) {
        ShowValue(*dlg.valueLabel(QString::fromLatin1(name)), line.Text);
    };
    set("dispKyuyoSyotoku", v.SalaryIncome);
    set("dispJutakuSyutoku", v.HousingCredit);
    set("dispSyotokuzeiNyuryoku", v.StatedTax);
    const auto &captions = DeductionCaptions();
    for (int i = 0; i < DeductionLineCount; ++i)
        set(captions[i].ValueName, v.Lines[i]);
    set("dispKojoGokeiKeisan", v.Computed.DeductionTotal);
    set("dispKazeiSyotokuKeisan1", v.Computed.Taxable);
    set("dispSyotokuzeikeisan1", v.Computed.Tax);
    set("dispKojoGokeiNyuryoku", v.Stated.DeductionTotal);
    set("dispKazeiSyotokuKeisan2", v.Stated.Taxable);
    set("dispSyotokuzeikeisan2", v.Stated.Tax);
}

} // namespace mivrel
