#include "Kojochk/Kojochk.h"

#include "Kojochk/KojoGrid.h"
#include "Kojochk/KojoRules.h"
#include "Kojochk/KojoTables.h"
#include "Pictures/Pictures.h"
#include "Verify/CaptionLabels.h"
#include "Verify/PlainTextAccessible.h"
#include "slip/SlipInk.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>

#include <vector>

namespace mivrel {
namespace {

constexpr int ClientWidth = 426;
constexpr int ClientHeight = 306;
constexpr int FontPixelSize = 13;
constexpr int PieceGap = 3;  // pixels between the pieces of a two-piece excerpt
constexpr int DispRightEdge = 407;  // right edge of the two insurance value labels
const QString ExcerptName = QStringLiteral("源泉徴収票の抜粋");

// XCoord / YCoord entries of the slip layout, named by the design line they hold.
enum XLine : std::uint8_t {
    X0 = 0, X230 = 5, X790 = 7, X200 = 13, X340 = 14, X930 = 25, X1210 = 27, XC3 = 32, XC10 = 39, X1350 = 56
};
enum YLine : std::uint8_t { Y180 = 3, Y310 = 5, Y480 = 9, Y525 = 10, Y615 = 12, Y750 = 16 };

struct CellRange {
    std::uint8_t First, Last;  // inclusive, drawn in ascending order
};
// A vertical strip of the slip between two design lines and the cells drawn into it.
struct ExcerptPiece {
    XLine Left, Right;
    std::vector<CellRange> Cells;
};
struct ExcerptPlan {
    YLine Top, Bottom;
    std::vector<ExcerptPiece> Pieces;  // side by side, PieceGap apart
};

// Indexed by KojoExcerpt. Cells outside a region (50, 59) are drawn all the
// same; the image clips them to the frame line they share with the region.
const std::array<ExcerptPlan, ExcerptCount> &ExcerptPlans()
{
    static const std::array<ExcerptPlan, ExcerptCount> plans{{
        {Y180, Y310, {{X230, X790, {{8, 9}, {13, 14}}}}},
        {Y310, Y480, {{X0, X340, {{17, 29}}}}},
        {Y480, Y525, {{X930, X1350, {{56, 56}, {59, 59}}}}},
        {Y310, Y480, {{X0, X200, {{17, 27}}}, {X340, X790, {{30, 46}}}}},
        {Y310, Y480, {{X790, X1210, {{47, 53}}}}},
        {Y525, Y615, {{X930, X1350, {{57, 61}}}}},
        {Y615, Y750, {{XC3, XC10, {{65, 73}, {80, 86}}}, {X930, X1350, {{101, 115}}}}},
    }};
    return plans;
}

// Width of an excerpt: its pieces, the gaps between them, and the closing
// frame line of the last piece.
int ExcerptWidth(const ExcerptPlan &plan, const SlipLayout &layout)
{
    int width = 1;
    for (const ExcerptPiece &piece : plan.Pieces)
        width += layout.XCoord[piece.Right] - layout.XCoord[piece.Left];
    return width + PieceGap * (static_cast<int>(plan.Pieces.size()) - 1);
}

// Whether the excerpt shows the whole of the cell: a cell drawn beside the
// region is clipped to a frame line.
bool ExcerptShowsCell(const ExcerptPlan &plan, const ExcerptPiece &piece, const SlipLayout &layout,
                      std::uint8_t cell)
{
    const CellRect &r = layout.Cells[cell];
    return r.Left >= layout.XCoord[piece.Left] && r.Right <= layout.XCoord[piece.Right]
        && r.Top >= layout.YCoord[plan.Top] && r.Bottom <= layout.YCoord[plan.Bottom];
}

// What an excerpt shows, told to a screen reader: every box in it that holds
// something, named and valued as on the slip ("支払金額 6,898,700、…").
QString ExcerptFigures(const ExcerptPlan &plan, const SlipLayout &layout, const TKyuho &slip)
{
    QStringList figures;
    for (const ExcerptPiece &piece : plan.Pieces)
        for (const CellRange &range : piece.Cells)
            for (int number = range.First; number <= range.Last; ++number) {
                const auto cell = static_cast<std::uint8_t>(number);
                const QString value = CellValueText(slip, cell).trimmed();
                if (value.isEmpty() || !ExcerptShowsCell(plan, piece, layout, cell))
                    continue;
                // A set mark reads as the box it marks ("控除対象配偶者の有無等 有"):
                // a speech synthesiser names ○ as a shape.
                figures << (LookupCell(cell).Kind == CellKind::Mark ? CellName(cell) : CellName(cell) + u' ' + value);
            }
    return figures.isEmpty() ? QStringLiteral("記入なし") : figures.join(u'、');
}

// Draws the excerpt's cells into a new image whose top-left pixel is the
// excerpt's top-left corner; what no cell covers keeps the background. The
// image has `pixelRatio` device pixels per slip pixel, so it stays sharp on
// dense screens while the geometry stays in slip pixels.
QImage DrawExcerpt(const ExcerptPlan &plan, SlipPaintContext &ctx, const SlipColours &colours,
                   qreal pixelRatio)
{
    const SlipLayout &layout = *ctx.Layout;
    const int top = layout.YCoord[plan.Top];
    const QSize size(ExcerptWidth(plan, layout), layout.YCoord[plan.Bottom] - top + 1);
    QImage image(size * pixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(colours.Paper);
    QPainter painter(&image);
    painter.setBackground(colours.Paper);
    painter.setPen(colours.Ink);

    int pieceX = 0;
    for (const ExcerptPiece &piece : plan.Pieces) {
        ctx.Origin = {pieceX - layout.XCoord[piece.Left], -top};
        for (const CellRange &range : piece.Cells)
            for (int cell = range.First; cell <= range.Last; ++cell)
                DrawCell(painter, ctx, static_cast<std::uint8_t>(cell));
        pieceX += layout.XCoord[piece.Right] - layout.XCoord[piece.Left] + PieceGap;
    }
    return image;
}

QWidget *AddSheet(QTabWidget *tabs, const char *name, const QString &title)
{
    auto *sheet = new QWidget;
    sheet->setObjectName(QLatin1String(name));
    tabs->addTab(sheet, title);
    return sheet;
}

QLabel *AddLabel(QWidget *sheet, const char *name, const QString &text, int x, int y)
{
    auto *label = new QLabel(text, sheet);
    label->setObjectName(QLatin1String(name));
    label->adjustSize();
    label->move(x, y);
    return label;
}

// A value label of fixed width whose text keeps to its right edge.
QLabel *AddValueLabel(QWidget *sheet, const char *name, int x, int y, int width)
{
    QLabel *label = AddLabel(sheet, name, QString(), x, y);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    label->setGeometry(x, y, width, label->sizeHint().height());
    return label;
}

// A value label sized to its text with its right edge at `right`.
void SetTextRightAnchored(QLabel *label, const QString &text, int right)
{
    ShowValue(*label, text);
    label->adjustSize();
    label->move(right - label->width(), label->y());
}

enum class MemoKind { Fixed, Scrolling, Editable };

QPlainTextEdit *AddMemo(QWidget *sheet, const char *name, const QRect &geometry, MemoKind kind)
{
    auto *memo = new QPlainTextEdit(sheet);
    memo->setObjectName(QLatin1String(name));
    memo->setGeometry(geometry);
    memo->setReadOnly(kind != MemoKind::Editable);
    memo->setTabChangesFocus(true);  // Tab moves on, as from every other control
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setVerticalScrollBarPolicy(kind == MemoKind::Fixed ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    return memo;
}

// The findings of a tab are named after the tab ("配偶者の検査結果").
void NameFindings(QTabWidget *tabs, QWidget *sheet, QPlainTextEdit *memo)
{
    memo->setAccessibleName(tabs->tabText(tabs->indexOf(sheet)) + QStringLiteral("の検査結果"));
    // A finding wraps over several lines: a screen reader reads it whole.
    ReadParagraphsAsLines(*memo);
}

ReferenceGrid *AddGrid(QWidget *sheet, const char *name, const QRect &geometry)
{
    auto *grid = new ReferenceGrid(sheet);
    grid->setObjectName(QLatin1String(name));
    grid->setGeometry(geometry);
    return grid;
}

void SetCellTextColour(QWidget *grid, const QColor &colour)
{
    QPalette palette = grid->palette();
    palette.setColor(QPalette::Text, colour);
    grid->setPalette(palette);
}

} // namespace

TdlgKojoCheck::TdlgKojoCheck(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgKojoCheck"));
    setWindowTitle(QStringLiteral("控除項目の検査"));
    QFont systemFont(SystemFace);
    systemFont.setPixelSize(FontPixelSize);
    setFont(systemFont);
    setFixedSize(ClientWidth, ClientHeight);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, 0, 419, 269);
    CreateSalarySheet();
    CreateSpouseSheet();
    CreateDependantSheet();
    CreateInsuranceSheet();
    CreatePersonalSheet();

    OKBtn = new QPushButton(OkGlyph(), QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(176, 272, 77, 27);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    // Laid out beside OK but never shown.
    CancelBtn = new QPushButton(QStringLiteral("キャンセル"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(256, 272, 77, 27);
    CancelBtn->hide();
    HelpBtn = new QPushButton(QStringLiteral("ヘルプ"), this);
    HelpBtn->setObjectName(QStringLiteral("HelpBtn"));
    HelpBtn->setGeometry(336, 272, 77, 27);
    HelpBtn->hide();

    FormCreate();
    ReportControlsShown(*this);
}

void TdlgKojoCheck::CreateExcerpt(QWidget *sheet, KojoExcerpt which, const char *name, int x, int y)
{
    Excerpts[which] = AddLabel(sheet, name, QString(), x, y);
    Excerpts[which]->setAccessibleName(ExcerptName);
}

void TdlgKojoCheck::CreateSalarySheet()
{
    QWidget *sheet = AddSheet(PageControl1, "TabSheet1", QStringLiteral("給与所得"));
    CreateExcerpt(sheet, ExcerptKyuyo, "imgKyuyo", 4, 5);
    memKyuyoSyotokuMsg = AddMemo(sheet, "memKyuyoSyotokuMsg", {222, 5, 189, 68}, MemoKind::Fixed);
    NameFindings(PageControl1, sheet, memKyuyoSyotokuMsg);
    QLabel *caption = AddLabel(sheet, "Label5", QStringLiteral("給与所得計算値"), 16, 104);
    dispKyuyoSyotokuKeisan = AddValueLabel(sheet, "dispKyuyoSyotokuKeisan", 16, 120, 81);
    CaptionValue(*caption, *dispKyuyoSyotokuKeisan);
    caption = AddLabel(sheet, "Label2", QStringLiteral("給与所得控除後の給与等の金額の表"), 160, 80);
    StringGrid1 = AddGrid(sheet, "StringGrid1", {112, 96, 297, 139});
    NameByCaption(*caption, *StringGrid1);
}

void TdlgKojoCheck::CreateSpouseSheet()
{
    QWidget *sheet = AddSheet(PageControl1, "TabSheet2", QStringLiteral("配偶者"));
    CreateExcerpt(sheet, ExcerptKouhai, "imgKouhai", 4, 5);
    CreateExcerpt(sheet, ExcerptHaitoku, "imgHaitoku", 4, 77);
    memHaiguMsg = AddMemo(sheet, "memHaiguMsg", {168, 8, 241, 89}, MemoKind::Scrolling);
    NameFindings(PageControl1, sheet, memHaiguMsg);
    QLabel *tableCaption = AddLabel(sheet, "Label4", QStringLiteral("配偶者特別控除の早見表"), 192, 105);
    QLabel *valueCaption = AddLabel(sheet, "Label7", QStringLiteral("配偶者特別控除計算値"), 8, 128);
    dispHaitokuKeisan = AddValueLabel(sheet, "dispHaitokuKeisan", 40, 144, 86);
    CaptionValue(*valueCaption, *dispHaitokuKeisan);
    StringGrid2 = AddGrid(sheet, "StringGrid2", {136, 120, 273, 115});
    NameByCaption(*tableCaption, *StringGrid2);
}

void TdlgKojoCheck::CreateDependantSheet()
{
    QWidget *sheet = AddSheet(PageControl1, "TabSheet3", QStringLiteral("扶養親族"));
    CreateExcerpt(sheet, ExcerptHuyou, "imgHuyou", 4, 5);
    memHuyou = AddMemo(sheet, "memHuyou", {8, 80, 401, 153}, MemoKind::Scrolling);
    NameFindings(PageControl1, sheet, memHuyou);
}

void TdlgKojoCheck::CreateInsuranceSheet()
{
    QWidget *sheet = AddSheet(PageControl1, "TabSheet4", QStringLiteral("保険料"));
    CreateExcerpt(sheet, ExcerptHokenKojo, "imgHokenKojo", 4, 5);
    CreateExcerpt(sheet, ExcerptHokenSiharai, "imgHokenSiharai", 180, 5);
    QLabel *pension = AddLabel(sheet, "Label1", QStringLiteral("個人年金保険に係る控除額"), 176, 49);
    QLabel *longTerm = AddLabel(sheet, "Label3", QStringLiteral("長期損害保険に係る控除額"), 176, 64);
    dispKojinNenkinKeisan = AddLabel(sheet, "dispKojinNenkinKeisan", QString(), DispRightEdge, 48);
    dispChousonKeisan = AddLabel(sheet, "dispChousonKeisan", QString(), DispRightEdge, 64);
    dispKojinNenkinKeisan->setAlignment(Qt::AlignRight | Qt::AlignTop);
    dispChousonKeisan->setAlignment(Qt::AlignRight | Qt::AlignTop);
    CaptionValue(*pension, *dispKojinNenkinKeisan);
    CaptionValue(*longTerm, *dispChousonKeisan);
    memHoken = AddMemo(sheet, "memHoken", {8, 88, 401, 145}, MemoKind::Editable);
    NameFindings(PageControl1, sheet, memHoken);
}

void TdlgKojoCheck::CreatePersonalSheet()
{
    QWidget *sheet = AddSheet(PageControl1, "TabSheet5", QStringLiteral("本人該当"));
    CreateExcerpt(sheet, ExcerptHonnin, "imgHonnin", 4, 5);
    memHonnin = AddMemo(sheet, "memHonnin", {8, 80, 401, 153}, MemoKind::Scrolling);
    NameFindings(PageControl1, sheet, memHonnin);
}

// The excerpts are drawn at the scale at which the whole slip is 1.2 times
// as wide as the dialog (511 pixels for the client width of 426).
void TdlgKojoCheck::FormCreate()
{
    Layout.ScaleNum = width() * 12 / 10;
    Layout.ScaleDen = SlipDesignWidth;
    LayOutSlip(Layout);
    SetFontSizes(Fonts, Layout.XCoord[X1350]);
    Context.Origin = {0, 0};
    Context.Layout = &Layout;
    Context.Fonts = &Fonts;
    Context.Current = &Current;

    // The salary table in the text colour of cells (black in the default
    // palette), the spouse table in the window's text colour where that reads
    // on the cells' base colour.
    const QPalette &colours = palette();
    StringGrid1->SetTable(SalaryTableRows, SalaryTableCell);
    SetCellTextColour(StringGrid1, colours.color(QPalette::Text));
    StringGrid2->SetTable(SpouseTableRows, SpouseTableCell);
    const bool windowTextReads = ContrastRatio(colours.color(QPalette::WindowText), colours.color(QPalette::Base)) >= 4.5;
    SetCellTextColour(StringGrid2, colours.color(windowTextReads ? QPalette::WindowText : QPalette::Text));
}

void DrawKojoImages(TdlgKojoCheck &dlg)
{
    if (!dlg.Context.Slip)
        return;
    const SlipColours colours = SlipColoursOf(dlg.palette());
    for (int i = 0; i < ExcerptCount; ++i) {
        const ExcerptPlan &plan = ExcerptPlans()[i];
        const QImage image = DrawExcerpt(plan, dlg.Context, colours, dlg.devicePixelRatioF());
        dlg.Excerpts[i]->setPixmap(QPixmap::fromImage(image));
        dlg.Excerpts[i]->resize(image.deviceIndependentSize().toSize());
        dlg.Excerpts[i]->setAccessibleDescription(ExcerptFigures(plan, dlg.Layout, *dlg.Context.Slip));
    }
}

void RunKojoCheck(TdlgKojoCheck &dlg, const TKyuho &slip)
{
    dlg.Context.Slip = &slip;
    DrawKojoImages(dlg);

    const KojoInspection result = InspectDeductions(slip);
    ShowValue(*dlg.dispKyuyoSyotokuKeisan, FormatAmount(result.SalaryIncome).Text);
    dlg.memKyuyoSyotokuMsg->setPlainText(result.SalaryVerdict);
    ShowValue(*dlg.dispHaitokuKeisan, FormatAmount(result.SpouseSpecialDeduction).Text);
    dlg.memHaiguMsg->setPlainText(KojoMessageText(result.SpouseLines));
    dlg.memHuyou->setPlainText(KojoMessageText(result.DependantLines));
    SetTextRightAnchored(dlg.dispKojinNenkinKeisan, FormatAmount(result.PensionDeduction).Text, DispRightEdge);
    SetTextRightAnchored(dlg.dispChousonKeisan, FormatAmount(result.LongTermDeduction).Text, DispRightEdge);
    dlg.memHoken->setPlainText(KojoMessageText(result.InsuranceLines));
    dlg.memHonnin->setPlainText(KojoMessageText(result.PersonalLines));
}

} // namespace mivrel
