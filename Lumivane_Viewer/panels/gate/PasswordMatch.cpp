#include "PasswordMatch.h"

bool passwordMatches(const QString &entered, const QString &expected)
{
    return entered.normalized(QString::NormalizationForm_C) == expected.normalized(QString::NormalizationForm_C);
}
