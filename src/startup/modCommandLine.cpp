#include "startup/modCommandLine.h"

#include "common/ListView.h"
#include "common/modControls.h"
#include "common/modFiles.h"
#include "common/modListFiles.h"
#include "common/modListReplace.h"
#include "common/modRecent.h"
#include "common/modSettings.h"
#include "common/modWindows.h"
#include "mainwindow/FrmMain.h"
#include "preferences/FrmOptions.h"
#include "startup/Forms.h"
#include "startup/modMain.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

QString commandline_FromArguments(const QStringList& arguments, const QString& workingDirectory)
{
    static const QStringList switches = {"/play", "/systray", "/winload", "/minimize", "/cd", "/ml", "/new"};
    // The program takes files or a switch. A switch typed among files would end the quoted
    // line and make one broken path of it, so the files alone count then.
    const bool files = std::any_of(arguments.begin(), arguments.end(), [](const QString& a) { return !switches.contains(a.toLower()); });
    QStringList parts;
    for (const QString& a : arguments) {
        if (switches.contains(a.toLower())) {
            if (!files) parts.append(a);
        } else {
            const QString path = QFileInfo(a).isAbsolute() ? a : QDir(workingDirectory).absoluteFilePath(a);
            parts.append(u'"' + path + u'"');
        }
    }
    return parts.join(u' ');
}

void window_ProcessCommandLine(const QString& commandLine)
{
    FrmMain& m = forms().get<FrmMain>();
    ListViewModel& list = m.rows();
    const bool sorting = !m.mnuDontSort->isChecked();
    if (sorting) list.setSorted(false);
    const bool clearFirst = settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("ClearPlaylistWhenFilesAreAddedOnStartUp"), QStringLiteral("0"));
    const QString separator = QStringLiteral("\" \"");

    if (commandLine.isEmpty()) {
        // nothing to do
    } else if (commandLine.contains(separator)) {
        const QStringList files = commandLine.mid(1, commandLine.size() - 2).split(separator);
        if (clearFirst) controls_ClearListView(list);
        const int n = list.count();
        {
            // Reading the tags lets events in: a session end meanwhile waits, and saves the
            // whole list.
            const startup::SessionEndHold hold;
            for (const QString& file : files) m.playlist_AddSong(QString(), QString(), QString(), file);
            m.playlist_ShowMP3Data(false);
            controls_RenumberItems(list);
        }
        controls_SelectItem(list, n + 1);
        startup::CommandLineSwitch = false;
        if (!startup::quitting()) m.player_Play(1);
    } else if (commandLine.startsWith(u'"')) {
        const QString path = commandLine.mid(1, commandLine.size() - 2);
        if (files_GetExtension(path.toLower()) == QLatin1String("spp")) {
            // A playlist that does not load leaves the rows there were (its own box said why).
            if (!controls_ReplaceListView(list, path)) {
                if (sorting) list.setSorted(true);
                return;
            }
            recentplaylists_AddFile(path, m);
            controls_RenumberItems(list);
            QString name = path;
            m.playlist_Select(name);
            controls_SelectItem(list, 1);
            startup::CommandLineSwitch = false;
            m.player_Play(1);
        } else {
            if (clearFirst) controls_ClearListView(list);
            m.playlist_AddSong(QString(), QString(), QString(), path);
            controls_SelectItem(list, list.count());
            if (m.mnuTagsShowTagsAsFilesAreAdded->isChecked()) m.playlist_UpdateItem(list.count(), false);
            startup::CommandLineSwitch = false;
            m.player_Play(1);
        }
    } else if (commandLine.startsWith(u'/')) {
        const QString word = commandLine.toLower();
        const bool tray = settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("UseSystemTraySupport"), QStringLiteral("1"));
        if (word == QLatin1String("/play")) {
            controls_SelectItem(list, 1);
            m.player_Play(1);
        } else if (word == QLatin1String("/systray") || word == QLatin1String("/systray /winload")) {
            if (tray) {
                m.window_MinimizeToTray();
                if (word.endsWith(QLatin1String("/winload"))
                    && settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("ShowOptionsWindow"), QStringLiteral("1")))
                    windows_ShowModal(forms().get<FrmOptions>(), &m, true);
            } else {
                // Without a tray icon a hidden program could not be reached: start minimised.
                m.setWindowState(m.windowState() | Qt::WindowMinimized);
                startup::ShowMinimizedInstead = true;
            }
        } else if (word == QLatin1String("/minimize")) {
            m.setWindowState(m.windowState() | Qt::WindowMinimized);
        } else if (word == QLatin1String("/cd")) {
            m.mnuOpenCDPlayer_Click();
        } else if (word == QLatin1String("/ml")) {
            m.mnuOpenMediaLibrary_Click();
        } else if (word == QLatin1String("/new")) {
            m.mnuNew_Click();
        }
        startup::CommandLineSwitch = true;
    }
    if (sorting) list.setSorted(true);
}
