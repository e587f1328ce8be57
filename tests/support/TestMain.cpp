#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Tests run offscreen; a test that needs a real display starts this binary again with
    // VELTRA_TEST_QPA naming the platform (and DISPLAY set).
    const QByteArray platform = qgetenv("VELTRA_TEST_QPA");
    qputenv("QT_QPA_PLATFORM", platform.isEmpty() ? QByteArray("offscreen") : platform);
    qputenv("QT_LOGGING_RULES", "qt.multimedia*=false");
#ifdef VELTRA_LAYOUT_FONTS_DIR
    // A layout test's run under one desktop font: its fontconfig file, read before any font is.
    if (const QString font = qEnvironmentVariable("VELTRA_LAYOUT_FONT"); !font.isEmpty())
        qputenv("FONTCONFIG_FILE", QStringLiteral(VELTRA_LAYOUT_FONTS_DIR "/%1.conf").arg(QString(font).remove(u' ')).toLocal8Bit());
#endif
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
