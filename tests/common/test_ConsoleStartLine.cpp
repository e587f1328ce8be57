// The start line carries the locale's short date with the year in four digits.
#include "common/FrmConsole.h"
#include "common/modVB.h"
#include "startup/Forms.h"
#include "support/StartupFixture.h"

#include <QLocale>
#include <QRegularExpression>

namespace {

class ConsoleStartLine : public StartupFixture {};

TEST_F(ConsoleStartLine, ShortDateWithAFourDigitYear)
{
    EXPECT_EQ(vb::ShortDate(QDate(2026, 12, 8), QLocale(QLocale::German, QLocale::Germany)), QStringLiteral("08.12.2026"));
    EXPECT_EQ(vb::ShortDate(QDate(2026, 12, 8), QLocale(QLocale::English, QLocale::UnitedStates)), QStringLiteral("12/8/2026"));

    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    start();
    QLocale::setDefault(before);
    const QString first = forms().get<FrmConsole>().Text().section(QStringLiteral("\r\n"), 0, 0);
    static const QRegularExpression line(QStringLiteral("^VELTRA started at \\d\\d:\\d\\d:\\d\\d / \\d\\d\\.\\d\\d\\.\\d{4}\\.$"));
    EXPECT_TRUE(line.match(first).hasMatch()) << first.toStdString();
}

} // namespace
