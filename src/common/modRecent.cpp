#include "common/modRecent.h"

#include "common/modFiles.h"
#include "common/modSettings.h"
#include "common/modVB.h"

int RecentMediaMax = 30;
int RecentPlaylistsMax = 30;

namespace {
struct RecentList {
    QString section;
    int* capacity;
};

const RecentList media{QStringLiteral("RecentMediaFiles"), &RecentMediaMax};
const RecentList playlists{QStringLiteral("RecentPlaylists"), &RecentPlaylistsMax};

QString key(int n) { return QStringLiteral("Filename") + QString::number(n); }

QString entry(const RecentList& list, int n)
{
    return files_RemoveTrailingNull(settings_ReadValue(list.section, key(n), QString()));
}

int countEntries(const RecentList& list)
{
    int n = 0;
    while (n < *list.capacity && !entry(list, n + 1).isEmpty()) ++n;
    return n;
}

bool isEmpty(const RecentList& list)
{
    for (int i = 1; i <= *list.capacity; ++i)
        if (!entry(list, i).isEmpty()) return false;
    return true;
}

void clearEntries(const RecentList& list)
{
    for (int i = 1; i <= *list.capacity; ++i) settings_WriteValue(list.section, key(i), QString());
}

void clearMenu(MenuArray& menu)
{
    if (menu.count() > 1) menu.unloadAbove(0);
    if (QAction* first = menu.at(0)) {
        first->setText(QStringLiteral("(None)"));
        first->setVisible(true);
        first->setEnabled(false);
    }
}

void buildMenu(const RecentList& list, MenuArray& menu)
{
    const int n = countEntries(list);
    const qsizetype digits = QString::number(n).size();
    const QString format = QString(digits - 1, u'0') + u'#';
    clearMenu(menu);
    if (entry(list, 1).isEmpty() || isEmpty(list)) return;
    for (int i = 1; i <= *list.capacity; ++i) {
        const QString file = entry(list, i);
        if (file.isEmpty()) break;
        QAction* item = i == 1 ? menu.at(0) : menu.load(i - 1);
        if (!item) break;
        item->setText(vb::FormatNumber(i, format) + QStringLiteral(".  ") + menu_Caption(files_GetFileName(file)));
        item->setVisible(true);
        item->setEnabled(true);
    }
}

void removeEntry(const RecentList& list, int index, MenuArray& menu)
{
    if (index >= 1) {
        for (int k = index; k < *list.capacity; ++k) settings_WriteValue(list.section, key(k), entry(list, k + 1));
        if (index <= *list.capacity) settings_WriteValue(list.section, key(*list.capacity), QString());
    }
    buildMenu(list, menu);
}

void addFile(const RecentList& list, const QString& fileName, MenuArray& menu)
{
    QStringList entries;
    for (int i = 1; i <= *list.capacity; ++i) {
        const QString e = entry(list, i);
        // Paths name the same file only when they are the same text.
        if (e == fileName) return;
        entries.append(e);
    }
    settings_WriteValue(list.section, key(1), fileName);
    for (int i = 1; i < *list.capacity; ++i) settings_WriteValue(list.section, key(i + 1), entries[i - 1]);
    buildMenu(list, menu);
}

void addFiles(const RecentList& list, const QStringList& fileNames, MenuArray& menu)
{
    // What addFile does for each name in turn, worked out first and written once.
    QStringList before;
    for (int i = 1; i <= *list.capacity; ++i) before.append(entry(list, i));
    QStringList entries = before;
    for (const QString& fileName : fileNames) {
        if (entries.contains(fileName)) continue;
        entries.prepend(fileName);
        entries.removeLast();
    }
    if (entries == before) return;
    for (int i = 1; i <= *list.capacity; ++i)
        if (entries[i - 1] != before[i - 1]) settings_WriteValue(list.section, key(i), entries[i - 1]);
    buildMenu(list, menu);
}
} // namespace

int recentmedia_CountEntries() { return countEntries(media); }
bool recentmedia_IsEmpty() { return isEmpty(media); }
void recentmedia_ClearEntries() { clearEntries(media); }
void recentmedia_ClearMenu(MenuArray& m) { clearMenu(m); }
void recentmedia_RemoveEntry(int index, MenuArray& m) { removeEntry(media, index, m); }
void recentmedia_AddFile(const QString& fileName, MenuArray& m) { addFile(media, fileName, m); }
void recentmedia_AddFiles(const QStringList& fileNames, MenuArray& m) { addFiles(media, fileNames, m); }
void recentmedia_BuildMenu(MenuArray& m) { buildMenu(media, m); }

int recentplaylists_CountEntries() { return countEntries(playlists); }
bool recentplaylists_IsEmpty() { return isEmpty(playlists); }
void recentplaylists_ClearEntries() { clearEntries(playlists); }
void recentplaylists_ClearMenu(MenuArray& m) { clearMenu(m); }
void recentplaylists_RemoveEntry(int index, MenuArray& m) { removeEntry(playlists, index, m); }
void recentplaylists_AddFile(const QString& fileName, MenuArray& m) { addFile(playlists, fileName, m); }
void recentplaylists_BuildMenu(MenuArray& m) { buildMenu(playlists, m); }
