#pragma once
// The started program, for the tests of the File menu's commands: the playlist's files and
// the log as the user would read them.
#include "common/FrmConsole.h"
#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"
#include "support/StartupFixture.h"

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

class FileCommandsTest : public StartupFixture {
protected:
    void SetUp() override
    {
        StartupFixture::SetUp();
        start();
        ui.clear();
    }
    ListViewModel& rows() { return main().rows(); }
    // The rows' files, top to bottom.
    QStringList files()
    {
        QStringList out;
        for (int r = 1; r <= rows().count(); ++r) out << rows().subItem(r, PlaylistColumn::Filename);
        return out;
    }
    QString log() { return forms().get<FrmConsole>().Text(); }
};
