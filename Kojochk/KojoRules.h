#pragma once
// The deduction inspection: recomputes four values from the slip with the tax
// rules of the year and turns every contradiction among the entered figures
// into a Japanese sentence, tab by tab. Pure: reads the record, changes
// nothing, keeps no state.

#include "Verify/Kyuho.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace mivrel {

// What a tab says when none of its rules found anything.
inline const QString KojoNormalSentence = QStringLiteral("検査結果は正常です．");

struct KojoInspection {
    QString SalaryVerdict;     // exactly one sentence
    QStringList SpouseLines;   // findings in rule order, or the normal sentence alone
    QStringList DependantLines;
    QStringList InsuranceLines;
    QStringList PersonalLines;

    std::int32_t SalaryIncome = 0;            // from the salary paid (cell 13)
    std::int32_t SpouseSpecialDeduction = 0;  // from the spouse's total income (cell 59)
    std::int32_t PensionDeduction = 0;        // PD: from the pension premiums paid (cell 60)
    std::int32_t LongTermDeduction = 0;       // LD: from the long-term premiums paid (cell 61)
};

KojoInspection InspectDeductions(const TKyuho &slip);

// The finding lines as a message area shows them, one per line.
QString KojoMessageText(const QStringList &lines);

} // namespace mivrel
