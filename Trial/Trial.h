#pragma once
// The tax trial dialog: from a salary, a deduction total and a housing credit
// it shows at once the salary income, the taxable income, the tax rate, the
// tax due and the special reduction under the rules of the year. Salary and
// deduction total are typed or set with two vertical sliders.
//
// The dialog is created once and reused: its texts, slider positions and the
// values it last showed carry over from one opening to the next. It reads the
// slip record and never writes it.

#include <QDialog>
#include <QList>

#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace mivrel {

class ResultField;
struct TKyuho;

class TdlgTrial : public QDialog {
    Q_OBJECT

public:
    explicit TdlgTrial(QWidget *parent = nullptr);

    // Puts the slip's salary paid, deduction total and housing credit into
    // the three fields (a blank amount leaves its field as it was; a long
    // amount is not cut to the typing limit), then recalculates. The sliders
    // stay where they are.
    void InitFromSlip(const TKyuho &slip);

private:
    void BuildControls();
    QLabel *AddCaption(const char *name, const QString &text, int x, int y);
    QLineEdit *AddField(QLabel &caption, const char *name, const QRect &bounds);
    QLabel *AddResult(QLabel &caption, const char *labelName, const char *frameName,
                      const QRect &frame, const QRect &bounds);
    QSlider *AddSlider(const QLabel &caption, const char *name, int x, int pageStep, std::int64_t perPosition);
    void SetTabOrder();
    void ConnectHandlers();
    void FormCreate();

    void medKyuyoSyunyuChange();
    void medKoujoGoukeiChange();
    void medJutakusyutokutouChange();
    void traKyuyoSyunyuChange(int position);
    void traKoujoGoukeiChange(int position);

    // Shows every result whose value differs from the one last shown; the
    // rate is looked at only when the taxable income has changed.
    void Recalculate();
    QString Spoken(const QLabel &label) const;

    QLineEdit *medKyuyoSyunyu = nullptr;
    QLineEdit *medKoujoGoukei = nullptr;
    QLineEdit *medJutakusyutokutou = nullptr;
    QLabel *lblDispKyuyoSyotoku = nullptr;
    QLabel *lblDispKazeiSyotoku = nullptr;
    QLabel *lblDispZeiritu = nullptr;
    QLabel *lblDispSyotokuzeigaku = nullptr;
    QLabel *lblDispTakubetuGenzei = nullptr;
    QList<ResultField *> ResultFields;  // where Tab reaches the five results
    QSlider *traKyuyoSyunyu = nullptr;
    QSlider *traKoujoGoukei = nullptr;
    QPushButton *OKBtn = nullptr;

    // Inputs as read from the fields, and the results last shown (set to 0
    // by FormCreate).
    std::int32_t KyuyoSyunyu;
    std::int32_t KoujoGoukei;
    std::int32_t Jutakusyutokutou;
    std::int32_t KyuyoSyotoku;
    std::int32_t KazeiSyotoku;
    std::int32_t Zeiritu;
    std::int32_t Syotokuzeigaku;
    std::int32_t TakubetuGenzei;
};

} // namespace mivrel
