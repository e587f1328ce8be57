// Plays one file through the real player in a window of its own, for a look on a real (or
// virtual) X display: scripts/check-video starts it under Xvfb and takes a screenshot.
// Usage: veltra_videocheck FILE [SECONDS]   quits at the end of the file or after SECONDS.
#include "platform/GstMediaPlayerControl.h"
#include "platform/VideoFrameWidget.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [SECONDS]\n", argv[0]);
        return 2;
    }
    if (!veltra::GstMediaPlayerControl::isAvailable()) {
        std::fprintf(stderr, "GStreamer or one of its elements is missing\n");
        return 1;
    }
    veltra::GstMediaPlayerControl player;
    QWidget window;
    window.setWindowTitle(QStringLiteral("VELTRA video check"));
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(player.videoWidget(), 1);
    auto* caption = new QLabel(QString::fromLocal8Bit(argv[1]));
    layout->addWidget(caption);
    window.resize(480, 400);
    window.move(40, 40);
    window.show();

    int status = 0;
    QObject::connect(&player, &veltra::MediaPlayerControl::EndOfStream, &app, [&] { app.quit(); });
    QObject::connect(&player, &veltra::MediaPlayerControl::Error, &app, [&](const QString& message) {
        std::fprintf(stderr, "error: %s\n", qPrintable(message));
        status = 1;
        app.quit();
    });
    if (argc > 2) QTimer::singleShot(int(QString::fromLocal8Bit(argv[2]).toDouble() * 1000), &app, [&] { app.quit(); });
    player.setFileName(QString::fromLocal8Bit(argv[1]));
    player.Play();
    app.exec();

    auto* picture = player.frameWidget();
    std::printf("frames shown: %llu, last frame %dx%d, position %.2f of %.2f s\n",
                static_cast<unsigned long long>(picture ? picture->framesShown() : 0),
                picture ? picture->frame().width() : 0, picture ? picture->frame().height() : 0,
                player.CurrentPosition(), player.Duration());
    return status;
}
