#pragma once
// The deduction inspection dialog (控除項目の検査). Five tabs show the findings
// of the inspection, each beside an excerpt of the slip drawn small; the
// salary and spouse tabs also carry a reference table of the year. Created
// once and reused: the tab shown last stays selected between openings.

#include "Verify/Kyuho.h"
#include "slip/SlipDraw.h"
#include "slip/SlipLayout.h"

#include <QDialog>

#include <array>
#include <cstdint>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace mivrel {

class ReferenceGrid;

// The seven excerpt images, in the order they are drawn.
enum KojoExcerpt : std::uint8_t {
    ExcerptKyuyo, ExcerptKouhai, ExcerptHaitoku, ExcerptHuyou, ExcerptHokenKojo, ExcerptHokenSiharai,
    ExcerptHonnin, ExcerptCount
};

class TdlgKojoCheck : public QDialog {
    Q_OBJECT
public:
    explicit TdlgKojoCheck(QWidget *parent = nullptr);

private:
    void CreateSalarySheet();
    void CreateSpouseSheet();
    void CreateDependantSheet();
    void CreateInsuranceSheet();
    void CreatePersonalSheet();
    void CreateExcerpt(QWidget *sheet, KojoExcerpt which, const char *name, int x, int y);
    // Lays out the slip for the excerpts and fills the reference tables.
    void FormCreate();

    friend void RunKojoCheck(TdlgKojoCheck &dlg, const TKyuho &slip);
    friend void DrawKojoImages(TdlgKojoCheck &dlg);

    // Drawing state of the excerpts, independent of the main window's.
    SlipLayout Layout;
    TFontInfoSet Fonts;
    std::uint8_t Current = 0;  // the dialog has no current cell
    SlipPaintContext Context;

    QTabWidget *PageControl1 = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
    QPushButton *HelpBtn = nullptr;
    std::array<QLabel *, ExcerptCount> Excerpts{};
    QPlainTextEdit *memKyuyoSyotokuMsg = nullptr;
    QPlainTextEdit *memHaiguMsg = nullptr;
    QPlainTextEdit *memHuyou = nullptr;
    QPlainTextEdit *memHoken = nullptr;
    QPlainTextEdit *memHonnin = nullptr;
    QLabel *dispKyuyoSyotokuKeisan = nullptr;
    QLabel *dispHaitokuKeisan = nullptr;
    QLabel *dispKojinNenkinKeisan = nullptr;
    QLabel *dispChousonKeisan = nullptr;
    ReferenceGrid *StringGrid1 = nullptr;
    ReferenceGrid *StringGrid2 = nullptr;
};

// Runs the inspection on `slip` and writes its findings, computed values and
// excerpts into the dialog, which keeps a pointer to the slip for later
// redraws (the slip must outlive the dialog). Neither shows the dialog nor
// changes the slip or the tab shown.
void RunKojoCheck(TdlgKojoCheck &dlg, const TKyuho &slip);

// Redraws the seven excerpt images from the slip that RunKojoCheck stored;
// does nothing before the first inspection.
void DrawKojoImages(TdlgKojoCheck &dlg);

} // namespace mivrel
