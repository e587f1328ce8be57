// The program that ships holds none of the tests' doubles, and the fonts its set-up installs
// show every script the users' artists, titles and paths are written in.
#include "common/ToolDialog.h"

#include <QApplication>
#include <QFile>
#include <QGlyphRun>
#include <QTextLayout>
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

// Each letter is drawn from some font, not as the empty box of a font that lacks it.
TEST(ShippedProgram, ShowsChineseJapaneseAndKoreanText)
{
    const struct {
        const char* script;
        QString text;
    } samples[] = {
        {"Japanese kana and kanji", QStringLiteral("宇多田ヒカル ファースト・ラブ 中島みゆき 時代")},
        {"simplified Chinese", QStringLiteral("王菲 红豆")},
        {"traditional Chinese", QStringLiteral("周杰倫 晴天")},
        {"Korean Hangul", QStringLiteral("아이유 좋은 날 방탄소년단 봄날")},
    };
    for (const QFont& font : {QApplication::font(), ToolDialog::dialogFont()}) {
        for (const auto& sample : samples) {
            SCOPED_TRACE(sample.script);
            QTextLayout layout(sample.text, font);
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            int drawn = 0, missing = 0;
            for (const QGlyphRun& run : layout.glyphRuns())
                for (quint32 glyph : run.glyphIndexes()) (glyph == 0 ? missing : drawn)++;
            EXPECT_EQ(missing, 0) << drawn << " letters drawn, in " << font.family().toStdString();
            EXPECT_GT(drawn, 0);
        }
    }
}

} // namespace
