#include "support/TestEnv.h"

#include "common/ListView.h"
#include "common/ListViewModel.h"
#include "common/modControls.h"
#include "common/modSettings.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

class ControlsTest : public VeltraTest {
protected:
    // A playlist-like list view of n rows: number, artist, file name.
    static void fill(ListViewModel& list, int n, const QString& prefix = QStringLiteral("Artist "))
    {
        list.setColumns({QStringLiteral("No."), QStringLiteral("Artist:"), QStringLiteral("Filename:")});
        std::vector<QStringList> rows;
        for (int i = 1; i <= n; ++i)
            rows.push_back({QString(), prefix + QString::number(i), QStringLiteral("/music/") + QString::number(i) + QStringLiteral(".mp3")});
        list.addRows(rows);
    }
    static QStringList column(const ListViewModel& list, int c)
    {
        QStringList out;
        for (int r = 1; r <= list.count(); ++r) out.append(list.cell(r, c));
        return out;
    }
    static QStringList entries(const QListWidget& list)
    {
        QStringList out;
        for (int i = 0; i < list.count(); ++i) out.append(list.item(i)->text());
        return out;
    }
};

// ---- Menus ----

TEST_F(ControlsTest, EnableAndDisableMenu)
{
    QAction a;
    int changes = 0;
    QObject::connect(&a, &QAction::changed, [&] { ++changes; });
    controls_EnableMenu(&a);   // already enabled: untouched
    EXPECT_EQ(changes, 0);
    controls_DisableMenu(&a);
    EXPECT_FALSE(a.isEnabled());
    controls_DisableMenu(&a);
    EXPECT_EQ(changes, 1);
    controls_EnableMenu(&a);
    EXPECT_TRUE(a.isEnabled());
    controls_DisableMenu(nullptr);
}

TEST_F(ControlsTest, MenuItemStateReportsOnlyTheHighlightedCommand)
{
    QMainWindow window;
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
    QAction* hiddenMenu = window.menuBar()->addMenu(QStringLiteral("Hidden"))->menuAction();
    hiddenMenu->setVisible(false);
    QMenu* help = window.menuBar()->addMenu(QStringLiteral("&Help"));
    QAction* newItem = file->addAction(QStringLiteral("&New"));
    file->addSeparator();
    QAction* add = file->addAction(QStringLiteral("Add &Files..."));
    file->addMenu(QStringLiteral("Open &Mood"));
    QAction* checked = file->addAction(QStringLiteral("Checked"));
    checked->setCheckable(true);
    checked->setChecked(true);
    QAction* disabled = file->addAction(QStringLiteral("Disabled"));
    disabled->setEnabled(false);
    QAction* about = help->addAction(QStringLiteral("&About"));
    (void)newItem;

    // Nothing highlighted.
    for (int i : {0, 2, 4, 5}) EXPECT_EQ(controls_GetMenuItemState(&window, 0, i), 0) << i;
    EXPECT_LT(controls_GetMenuItemState(&window, 0, 1), 0);    // separator
    EXPECT_LT(controls_GetMenuItemState(&window, 0, 3), 0);    // submenu
    EXPECT_LT(controls_GetMenuItemState(&window, 0, 99), 0);
    EXPECT_LT(controls_GetMenuItemState(&window, 7, 0), 0);
    EXPECT_LT(controls_GetMenuItemState(nullptr, 0, 0), 0);

    file->popup(QPoint(0, 0));
    file->setActiveAction(add);
    EXPECT_GE(controls_GetMenuItemState(&window, 0, 2), 128);
    EXPECT_EQ(controls_GetMenuItemState(&window, 0, 0), 0);
    file->setActiveAction(checked);
    EXPECT_EQ(controls_GetMenuItemState(&window, 0, 4), 128 | 8);
    file->close();
    EXPECT_EQ(controls_GetMenuItemState(&window, 0, 4), 0);

    // The hidden top menu does not count: Help is position 1.
    help->popup(QPoint(0, 0));
    help->setActiveAction(about);
    EXPECT_GE(controls_GetMenuItemState(&window, 1, 0), 128);
    help->close();
}

// ---- Text boxes ----

TEST_F(ControlsTest, NumericKeyRefusesLeadingZerosAndNonDigits)
{
    QLineEdit box;
    EXPECT_TRUE(controls_IsNumericKey(&box, '0'));
    EXPECT_FALSE(controls_IsNumericKey(&box, '5'));
    EXPECT_FALSE(controls_IsNumericKey(&box, 8));
    EXPECT_TRUE(controls_IsNumericKey(&box, 'a'));
    EXPECT_TRUE(controls_IsNumericKey(&box, '-'));

    box.setText(QStringLiteral("5"));
    box.setCursorPosition(1);
    EXPECT_FALSE(controls_IsNumericKey(&box, '0'));
    box.setCursorPosition(0);
    EXPECT_TRUE(controls_IsNumericKey(&box, '0'));
    box.setText(QStringLiteral("12"));
    box.selectAll();
    EXPECT_TRUE(controls_IsNumericKey(&box, '0'));
    box.setSelection(1, 1);
    EXPECT_FALSE(controls_IsNumericKey(&box, '0'));
}

TEST_F(ControlsTest, NumericFilterDropsRefusedKeys)
{
    QLineEdit box;
    controls_FilterNumericKeys(&box);
    controls_FilterNumericKeys(&box);   // once is enough
    auto type = [&](int key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(&box, &press);
    };
    type(Qt::Key_0, QStringLiteral("0"));
    type(Qt::Key_A, QStringLiteral("a"));
    type(Qt::Key_4, QStringLiteral("4"));
    type(Qt::Key_0, QStringLiteral("0"));
    EXPECT_EQ(box.text(), QStringLiteral("40"));
    type(Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(box.text(), QStringLiteral("4"));
    type(Qt::Key_Home, QString());
    type(Qt::Key_0, QStringLiteral("0"));
    EXPECT_EQ(box.text(), QStringLiteral("4"));
}

TEST_F(ControlsTest, ValidateRange)
{
    QLineEdit box;
    EXPECT_FALSE(controls_ValidateRange(&box, 10, 1));
    box.setText(QStringLiteral("abc"));
    EXPECT_FALSE(controls_ValidateRange(&box, 10, 1));
    box.setText(QStringLiteral("5"));
    EXPECT_TRUE(controls_ValidateRange(&box, 10, 1));
    box.setText(QStringLiteral("10"));
    EXPECT_TRUE(controls_ValidateRange(&box, 10, 1));
    box.setText(QStringLiteral("11"));
    EXPECT_FALSE(controls_ValidateRange(&box, 10, 1));
    box.setText(QStringLiteral("0"));
    EXPECT_FALSE(controls_ValidateRange(&box, 10, 1));
    box.setText(QStringLiteral("40000"));   // beyond 16 bits
    EXPECT_FALSE(controls_ValidateRange(&box, 32767, 0));
    box.setText(QStringLiteral(" 7 "));
    EXPECT_TRUE(controls_ValidateRange(&box, 10, 1));
}

// ---- Combo and list boxes ----

TEST_F(ControlsTest, ComboFindAndSelect)
{
    QComboBox combo;
    EXPECT_EQ(controls_ComboFindExact(&combo, QStringLiteral("x")), -1);
    controls_ComboSelectText(&combo, QStringLiteral("x"));
    EXPECT_EQ(combo.currentIndex(), -1);
    for (const char* s : {"Rock", "pop", "Jazz"}) controls_ComboAddString(&combo, QString::fromLatin1(s));
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(controls_ComboFindExact(&combo, QStringLiteral("POP")), 1);
    EXPECT_EQ(controls_ComboFindExact(&combo, QStringLiteral("Po")), -1);
    controls_ComboSelectText(&combo, QStringLiteral("pop"));
    EXPECT_EQ(combo.currentIndex(), 1);
    controls_ComboSelectText(&combo, QStringLiteral("POP"));   // exact text only
    EXPECT_EQ(combo.currentIndex(), 2);
    controls_ComboSelectText(&combo, QStringLiteral("Blues"));
    EXPECT_EQ(combo.currentIndex(), 2);
}

TEST_F(ControlsTest, ListBoxFindMoveAndRemove)
{
    QListWidget list;
    for (const char* s : {"a", "B", "c", "d"}) controls_ListAddString(&list, QString::fromLatin1(s));
    EXPECT_EQ(controls_ListFindExact(&list, QStringLiteral("b")), 1);
    EXPECT_EQ(controls_ListFindExact(&list, QStringLiteral("b"), Qt::CaseSensitive), -1);
    EXPECT_EQ(controls_ListFindExact(&list, QStringLiteral("z")), -1);

    controls_ListMoveItem(&list, 2, 1);
    EXPECT_EQ(entries(list), (QStringList{"a", "c", "B", "d"}));
    EXPECT_EQ(list.currentRow(), 1);
    controls_ListMoveItem(&list, 0, 9);   // out of range: nothing
    EXPECT_EQ(entries(list), (QStringList{"a", "c", "B", "d"}));

    controls_ListRemoveSelected(&list);   // "c" at 1: "B" takes its place
    EXPECT_EQ(entries(list), (QStringList{"a", "B", "d"}));
    EXPECT_EQ(list.currentRow(), 1);
    list.setCurrentRow(2);
    controls_ListRemoveSelected(&list);   // the last one: the new last is selected
    EXPECT_EQ(entries(list), (QStringList{"a", "B"}));
    EXPECT_EQ(list.currentRow(), 1);
    list.setCurrentRow(0);
    controls_ListRemoveSelected(&list);
    controls_ListRemoveSelected(&list);
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.currentRow(), -1);
    controls_ListRemoveSelected(&list);   // nothing selected: nothing happens
}

TEST_F(ControlsTest, ListBoxDeadFiles)
{
    const QString kept = writeFile(QStringLiteral("music/kept.mp3"), "x");
    QListWidget list;
    list.addItems({home(QStringLiteral("music/gone1.mp3")), kept, home(QStringLiteral("music/gone2.mp3"))});
    controls_ListRemoveDeadFiles(&list);
    EXPECT_EQ(entries(list), QStringList{kept});
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, QStringLiteral("Remove Dead Filenames Information"));
    EXPECT_EQ(ui.messages()[0].text,
              QStringLiteral("It has been detected that you had 2 dead filenames in the list.\r\n\r\nThese items have been removed.\r\n"));
    EXPECT_EQ(ui.messages()[0].icon, int(veltra::MsgIcon::Information));

    controls_ListRemoveDeadFiles(&list);
    EXPECT_EQ(ui.messages()[1].text,
              QStringLiteral("No dead filenames were found within the list.\r\n\r\nNo items have been removed from the list.\r\n"));
}

// ---- List views ----

TEST_F(ControlsTest, RenumberPadsToTheDigitsOfTheRowCountTwoAtLeast)
{
    ListViewModel list;
    fill(list, 9);
    controls_RenumberItems(list);
    EXPECT_EQ(list.text(1), QStringLiteral("01"));
    EXPECT_EQ(list.text(9), QStringLiteral("09"));

    list.add({QString(), QStringLiteral("x"), QStringLiteral("y")});
    controls_RenumberItems(list);
    EXPECT_EQ(list.text(1), QStringLiteral("01"));
    EXPECT_EQ(list.text(10), QStringLiteral("10"));

    ListViewModel hundred;
    fill(hundred, 100);
    controls_RenumberItems(hundred);
    EXPECT_EQ(hundred.text(1), QStringLiteral("001"));
    EXPECT_EQ(hundred.text(99), QStringLiteral("099"));
    EXPECT_EQ(hundred.text(100), QStringLiteral("100"));

    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("UseNumberPaddingInPlaylists"), QStringLiteral("0"));
    ListViewModel plain;
    fill(plain, 9);
    controls_RenumberItems(plain);
    EXPECT_EQ(column(plain, 0), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
}

TEST_F(ControlsTest, CountAndFindIgnoreCaseUnlessAsked)
{
    ListViewModel list;
    list.setColumns({QStringLiteral("No."), QStringLiteral("Artist:")});
    list.addRows({{QStringLiteral("ABC"), QStringLiteral("x")}, {QStringLiteral("abc"), QStringLiteral("y")}, {QStringLiteral("d"), QStringLiteral("ABC")}});
    EXPECT_EQ(controls_CountMatchingItems(list, QStringLiteral("abc"), 0), 2);
    EXPECT_EQ(controls_CountMatchingItems(list, QStringLiteral("abc"), 1), 1);
    EXPECT_EQ(controls_CountMatchingItems(list, QStringLiteral("abc"), 0, Qt::CaseSensitive), 1);
    EXPECT_EQ(controls_CountMatchingItems(list, QStringLiteral("none"), 0), 0);

    EXPECT_TRUE(controls_FindItem(list, QStringLiteral("Y"), 1, false));
    EXPECT_EQ(list.selectedCount(), 0);
    EXPECT_TRUE(controls_FindItem(list, QStringLiteral("Y"), 1, true));
    EXPECT_TRUE(list.isSelected(2));
    EXPECT_EQ(list.selectedItem(), 2);
    EXPECT_FALSE(controls_FindItem(list, QStringLiteral("zzz"), 1, true));
    ListViewModel empty;
    EXPECT_FALSE(controls_FindItem(empty, QStringLiteral(""), 0, true));
}

TEST_F(ControlsTest, SelectItemOnMultiAndSingleSelectionLists)
{
    ListViewModel list;
    fill(list, 5);
    list.setSelected(1, true);
    list.setSelected(4, true);
    int scrolledTo = 0;
    QObject::connect(&list, &ListViewModel::ensureVisibleRequested, [&](int row) { scrolledTo = row; });
    controls_SelectItem(list, 3);
    EXPECT_EQ(list.selectedRows(), QList<int>{3});
    EXPECT_EQ(list.selectedItem(), 3);
    EXPECT_EQ(scrolledTo, 3);
    EXPECT_TRUE(controls_HasSelectedItem(list));
    EXPECT_EQ(controls_GetSelectedCount(list), 1);

    controls_SelectItem(list, 6);   // outside the rows: nothing stays selected
    EXPECT_EQ(list.selectedCount(), 0);
    EXPECT_FALSE(controls_HasSelectedItem(list));

    ListViewModel single;
    fill(single, 5);
    single.setMultiSelect(false);
    controls_SelectItem(single, 2);
    controls_SelectItem(single, 0);   // ignored
    EXPECT_EQ(single.selectedRows(), QList<int>{2});
    controls_SelectItem(single, 4);
    EXPECT_EQ(single.selectedRows(), QList<int>{4});
}

TEST_F(ControlsTest, RemoveSelectedItemSelectsItsSuccessor)
{
    ListViewModel list;
    fill(list, 4);
    list.selectOnly(2);
    controls_RemoveSelectedItems(list);
    EXPECT_EQ(column(list, 1), (QStringList{"Artist 1", "Artist 3", "Artist 4"}));
    EXPECT_EQ(list.selectedRows(), QList<int>{2});

    list.selectOnly(3);
    controls_RemoveSelectedItems(list);   // the last row: the new last row
    EXPECT_EQ(list.selectedRows(), QList<int>{2});
    EXPECT_EQ(list.selectedItem(), 2);

    ListViewModel one;
    fill(one, 1);
    one.selectOnly(1);
    controls_RemoveSelectedItems(one);
    EXPECT_EQ(one.count(), 0);
    EXPECT_EQ(one.selectedCount(), 0);
    controls_RemoveSelectedItems(one);   // nothing selected: nothing happens

    ListViewModel none;
    fill(none, 3);
    controls_RemoveSelectedItems(none);
    EXPECT_EQ(none.count(), 3);
}

TEST_F(ControlsTest, SwapExchangesEveryCellAndOptionallySelects)
{
    ListViewModel list;
    fill(list, 3);
    list.setMultiSelect(false);
    list.setForeColour(1, 0x0000FF);
    controls_SwapItems(list, 1, 3, false);
    EXPECT_EQ(list.cells(1), (QStringList{"", "Artist 3", "/music/3.mp3"}));
    EXPECT_EQ(list.cells(3), (QStringList{"", "Artist 1", "/music/1.mp3"}));
    EXPECT_EQ(list.foreColour(1), 0x0000FFu);   // looks stay with the place
    EXPECT_EQ(list.selectedCount(), 0);
    controls_SwapItems(list, 3, 2, true);
    EXPECT_EQ(list.selectedRows(), QList<int>{2});
    EXPECT_EQ(list.text(2), QString());
    EXPECT_EQ(list.subItem(2, 1), QStringLiteral("Artist 1"));
}

TEST_F(ControlsTest, DeadFilesAreRemovedFromTheFileColumnAndReported)
{
    ListViewModel list;
    fill(list, 0);
    controls_RemoveDeadFiles(list, 2);   // an empty list is reported too
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, QStringLiteral("Remove Dead Filenames Information"));
    EXPECT_EQ(ui.messages()[0].text, QStringLiteral("No dead filenames were found within the list.\r\n\r\n"
                                                     "No items have been removed from the list.\r\n"));
    ui.clear();

    const QString a = writeFile(QStringLiteral("m/a.mp3"), "a");
    const QString b = writeFile(QStringLiteral("m/b.mp3"), "b");
    list.addRows({{QStringLiteral("1"), QStringLiteral("A"), a},
                  {QStringLiteral("2"), QStringLiteral("X"), home(QStringLiteral("m/x.mp3"))},
                  {QStringLiteral("3"), QStringLiteral("B"), b},
                  {QStringLiteral("4"), QStringLiteral("Y"), QString()}});
    list.selectOnly(3);
    controls_RemoveDeadFiles(list, 2);
    EXPECT_EQ(column(list, 1), (QStringList{"A", "B"}));
    EXPECT_EQ(list.selectedRows(), QList<int>{2});   // the selected row stays selected
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].text.startsWith(QStringLiteral("It has been detected that you had 2 dead filenames")));
}

TEST_F(ControlsTest, ManyScatteredDeadFilesKeepTheSelection)
{
    const QString real = writeFile(QStringLiteral("m/real.mp3"), "r");
    ListViewModel list;
    list.setColumns({QStringLiteral("No."), QStringLiteral("Filename:")});
    std::vector<QStringList> rows;
    for (int i = 1; i <= 300; ++i)
        rows.push_back({QString::number(i), i % 3 == 0 ? real : home(QStringLiteral("m/missing.mp3"))});
    list.addRows(rows);
    list.setSelected(3, true);
    list.setSelected(4, true);
    list.setSelected(9, true);
    list.setSelectedItem(9);
    controls_RemoveDeadFiles(list, 1);
    EXPECT_EQ(list.count(), 100);
    EXPECT_EQ(list.text(1), QStringLiteral("3"));
    EXPECT_EQ(list.selectedRows(), (QList<int>{1, 3}));
    EXPECT_EQ(list.selectedItem(), 3);
    EXPECT_TRUE(ui.messages()[0].text.contains(QStringLiteral(" 200 dead filenames")));
}

TEST_F(ControlsTest, ClearEmptiesListsOfAnySize)
{
    for (int n : {0, 2000, 2001}) {
        ListViewModel list;
        fill(list, n);
        list.selectOnly(1);
        controls_ClearListView(list);
        EXPECT_EQ(list.count(), 0) << n;
        EXPECT_EQ(list.selectedCount(), 0) << n;
    }
}

TEST_F(ControlsTest, HeaderStyleFlipsAndFlipsBack)
{
    ListView view;
    const bool before = view.headerButtons();
    controls_SetHeaderStyle(view);
    EXPECT_NE(view.headerButtons(), before);
    controls_SetHeaderStyle(view);
    EXPECT_EQ(view.headerButtons(), before);
}

TEST_F(ControlsTest, RoutinesTakeTheViewForItsRows)
{
    ListView view;
    fill(view.items(), 3);
    controls_RenumberItems(view);
    controls_SelectItem(view, 2);
    EXPECT_EQ(view.items().text(3), QStringLiteral("03"));
    EXPECT_TRUE(view.selectionModel()->isRowSelected(1, QModelIndex()));
}

// ---- Line files ----

TEST_F(ControlsTest, ListBoxToFileAndBack)
{
    QListWidget list;
    list.addItems({QStringLiteral("/music/Crosby, Stills.mp3"), QString(), QStringLiteral("C:\\old\\path \"q\".mp3")});
    const QString file = home(QStringLiteral("locations.log"));
    ASSERT_TRUE(controls_SaveListToFile(file, &list));
    EXPECT_EQ(readFile(file), QByteArray("/music/Crosby, Stills.mp3\r\n\r\nC:\\old\\path \"q\".mp3\r\n"));

    QListWidget back;
    back.addItem(QStringLiteral("kept"));
    ASSERT_TRUE(controls_LoadFileIntoList(file, &back));
    EXPECT_EQ(entries(back), (QStringList{"kept", "/music/Crosby, Stills.mp3", "", "C:\\old\\path \"q\".mp3"}));

    QListWidget empty;
    ASSERT_TRUE(controls_SaveListToFile(file, &empty));   // an existing file is emptied
    EXPECT_TRUE(readFile(file).isEmpty());

    QListWidget none;
    EXPECT_FALSE(controls_LoadFileIntoList(home(QStringLiteral("missing.log")), &none));
    EXPECT_EQ(none.count(), 0);
}

TEST_F(ControlsTest, ComboFromFileFieldByField)
{
    const QString file = writeFile(QStringLiteral("search.txt"), "Rock, Pop\r\n\"Crosby, Stills\"\r\nJazz\r\n");
    QComboBox combo;
    ASSERT_TRUE(controls_LoadFileIntoCombo(file, &combo));
    QStringList items;
    for (int i = 0; i < combo.count(); ++i) items.append(combo.itemText(i));
    EXPECT_EQ(items, (QStringList{"Rock", "Pop", "Crosby, Stills", "Jazz"}));
    EXPECT_EQ(combo.currentIndex(), -1);   // adding chooses nothing
    EXPECT_FALSE(controls_LoadFileIntoCombo(home(QStringLiteral("missing.txt")), &combo));
}

} // namespace
