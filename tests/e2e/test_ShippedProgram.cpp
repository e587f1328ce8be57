// The program that ships holds none of the tests' doubles.
#include <QFile>
#include <gtest/gtest.h>

namespace {

TEST(ShippedProgram, HoldsNoTestDoubles)
{
    QFile program(QStringLiteral(VELTRA_BINARY));
    ASSERT_TRUE(program.open(QIODevice::ReadOnly));
    const QByteArray bytes = program.readAll();
    for (const char* name : {"RecordingUiServices", "FakeMediaPlayerControl", "FakeKeyStateSource"})
        EXPECT_FALSE(bytes.contains(name)) << name;
}

} // namespace
