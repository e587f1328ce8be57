#include "support/TestEnv.h"

#include "common/ToolDialog.h"
#include "common/modColours.h"
#include "controls/ctlQX_3DPanel.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest/QTest>

namespace {

class ToolDialogTest : public VeltraTest {
protected:
    static void key(QWidget* w, int k, const QString& text = QString(), Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, k, mods, text);
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, k, mods, text);
        QApplication::sendEvent(w, &release);
    }
    static quint32 base(QWidget* w) { return colours::fromQColor(w->palette().color(QPalette::Base)); }
};

// The layout tests run once under each desktop's usual font (VELTRA_LAYOUT_FONT names it): the
// dialogs' font and the program's own resolve to it, or those runs would prove nothing.
TEST_F(ToolDialogTest, DialogFontIsTheFontTheLayoutTestsRunUnder)
{
    const std::string wanted = qEnvironmentVariable("VELTRA_LAYOUT_FONT").toStdString();
    if (wanted.empty()) GTEST_SKIP() << "run under no particular font";
    EXPECT_EQ(QFontInfo(ToolDialog::dialogFont()).family().toStdString(), wanted);
    EXPECT_EQ(QFontInfo(QApplication::font()).family().toStdString(), wanted);
}

// A dialog given more height than the screen has (a size kept from a larger monitor) opens
// within the screen, its list cut to whole rows.
TEST_F(ToolDialogTest, OpensWithinTheScreenWithWholeRowsInItsList)
{
    BusyDialog dialog(QStringLiteral("FrmTest"), QStringLiteral("Test"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* list = new QListWidget(&dialog);
    for (int i = 0; i < 200; ++i) list->addItem(QStringLiteral("Item %1").arg(i));
    layout->addWidget(list, 1);
    layout->addWidget(new QPushButton(QStringLiteral("&Close"), &dialog));
    const QRect screen = dialog.screen()->availableGeometry();
    dialog.resize(300, screen.height() + 400);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_LE(dialog.frameGeometry().height(), screen.height());
    const int row = list->visualRect(list->model()->index(0, 0)).height();
    ASSERT_GT(row, 0);
    EXPECT_EQ(list->viewport()->height() % row, 0);
    EXPECT_GE(list->viewport()->height(), screen.height() - 150);   // cut by no more than that
}

TEST_F(ToolDialogTest, ButtonRowRunsTheActionOnEnterAndClosesOnEsc)
{
    ToolDialog dialog(QStringLiteral("FrmJumpToTime"), QStringLiteral("Jump To Time"));
    auto* box = new QLineEdit(&dialog);
    dialog.body()->addWidget(box);
    int runs = 0;
    QPushButton* jump = dialog.addActionButton(QStringLiteral("cmdJump"), QStringLiteral("&Jump »"), [&] { ++runs; });
    ASSERT_EQ(dialog.buttonRow()->indexOf(dialog.cmdBack) + 1, dialog.buttonRow()->indexOf(jump));
    ASSERT_EQ(dialog.buttonRow()->indexOf(jump) + 1, dialog.buttonRow()->indexOf(dialog.cmdClose));
    EXPECT_FALSE(dialog.cmdBack->isEnabled());
    EXPECT_EQ(dialog.cmdBack->text(), QStringLiteral("« &Back"));
    EXPECT_TRUE(jump->isDefault());

    // Shown modally through the event loop: Enter in the text box runs the action, Esc closes.
    QTimer::singleShot(0, &dialog, [&] {
        box->setFocus();
        key(box, Qt::Key_Return);
        key(box, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(runs, 1);
}

TEST_F(ToolDialogTest, BusyDisablesInputsIgnoresCloseAndRestoresOnlyWhatItDisabled)
{
    ToolDialog dialog(QStringLiteral("FrmTest"), QStringLiteral("Test"));
    auto* box = new QLineEdit(&dialog);
    auto* combo = new QComboBox(&dialog);
    combo->setEditable(true);
    dialog.body()->addWidget(box);
    dialog.body()->addWidget(combo);
    QPushButton* go = dialog.addActionButton(QStringLiteral("cmdGo"), QStringLiteral("&Go »"), [] {});
    dialog.show();
    {
        ToolDialog::Busy busy(dialog);
        {
            ToolDialog::Busy nested(dialog);
        }
        EXPECT_TRUE(dialog.isBusy());
        for (QWidget* w : std::initializer_list<QWidget*>{box, combo, go, dialog.cmdClose}) EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
        dialog.cmdClose->click();
        key(&dialog, Qt::Key_Escape);
        EXPECT_FALSE(dialog.close());   // the window's own close box
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    for (QWidget* w : std::initializer_list<QWidget*>{box, combo, go, dialog.cmdClose}) EXPECT_TRUE(w->isEnabled());
    EXPECT_FALSE(dialog.cmdBack->isEnabled());
}

TEST_F(ToolDialogTest, NumberBoxTakesDigitsTypedOrPastedWithoutALeadingZero)
{
    ToolDialog dialog(QStringLiteral("FrmTest"), QStringLiteral("Test"));
    auto* box = new QLineEdit(&dialog);
    dialog.body()->addWidget(box);
    dialog.useNumberBox(box, 2);
    dialog.show();
    box->setFocus();
    key(box, Qt::Key_0, QStringLiteral("0"));
    key(box, Qt::Key_A, QStringLiteral("a"));
    key(box, Qt::Key_3, QStringLiteral("3"));
    key(box, Qt::Key_0, QStringLiteral("0"));
    key(box, Qt::Key_7, QStringLiteral("7"));
    EXPECT_EQ(box->text(), QStringLiteral("30"));

    struct Paste { const char* text; const char* kept; };
    for (const Paste& p : {Paste{"0042", "42"}, Paste{"1:5", "15"}, Paste{"abc", ""}, Paste{"٣4", "4"}, Paste{"987", "98"}}) {
        box->clear();
        box->insert(QString::fromUtf8(p.text));   // what a paste does: an edit by the user
        EXPECT_EQ(box->text(), QString::fromUtf8(p.kept)) << p.text;
    }
}

TEST_F(ToolDialogTest, FocusColoursFollowTheFocusAndSelectTheText)
{
    ToolDialog dialog(QStringLiteral("FrmTest"), QStringLiteral("Test"));
    auto* first = new QLineEdit(QStringLiteral("hello"), &dialog);
    auto* combo = new QComboBox(&dialog);
    combo->setEditable(true);
    dialog.body()->addWidget(first);
    dialog.body()->addWidget(combo);
    dialog.useFocusColours(first);
    dialog.useFocusColours(combo);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    EXPECT_EQ(base(combo), ToolDialog::NormalColour);

    first->setFocus();   // the first box already has it: shown, the dialog gave it the focus
    processEvents(20);
    EXPECT_EQ(base(first), ToolDialog::FocusColour);
    EXPECT_EQ(first->selectedText(), QStringLiteral("hello"));

    combo->setFocus();
    processEvents(20);
    EXPECT_EQ(base(first), ToolDialog::NormalColour);
    EXPECT_EQ(base(combo), ToolDialog::FocusColour);

    // A multi-line box (the tag editor's comments) the same way.
    auto* page = new QPlainTextEdit(QStringLiteral("notes"), &dialog);
    dialog.body()->addWidget(page);
    dialog.useFocusColours(page);
    page->show();
    page->setFocus();
    processEvents(20);
    EXPECT_EQ(base(combo), ToolDialog::NormalColour);
    EXPECT_EQ(base(page), ToolDialog::FocusColour);
    EXPECT_EQ(page->textCursor().selectedText(), QStringLiteral("notes"));
}

TEST_F(ToolDialogTest, OptionsMenuAndDialogKeysReachTheSameCommandsFromEverywhere)
{
    ToolDialog dialog(QStringLiteral("FrmTest"), QStringLiteral("Test"));
    auto* label = new QLabel(QStringLiteral("Options »"));
    ctlQX_3DPanel* panel = dialog.labelPanel(QStringLiteral("qxpOptions"), label);
    auto* list = new QListWidget(&dialog);
    list->addItems({QStringLiteral("one"), QStringLiteral("two")});
    auto* button = new QPushButton(QStringLiteral("&Other"), &dialog);
    dialog.body()->addWidget(panel);
    dialog.body()->addWidget(list);
    dialog.body()->addWidget(button);
    EXPECT_EQ(label->parentWidget(), panel);
    EXPECT_GE(panel->minimumWidth(), label->width());   // the caption is never clipped
    QMenu menu;
    int prepared = 0, deleted = 0;
    dialog.useOptionsMenu(&menu, panel, list, [&] { ++prepared; });
    dialog.useDialogKey(Qt::Key_Delete, [&] { ++deleted; });
    dialog.show();

    auto press = [](QWidget* w, Qt::MouseButton b, QPoint at) {
        QMouseEvent e(QEvent::MouseButtonPress, at, w->mapToGlobal(at), b, b, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };
    press(label, Qt::LeftButton, QPoint(2, 2));   // the label inside the panel counts as the panel
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.pos(), panel->mapToGlobal(QPoint(0, panel->height())));
    menu.hide();
    const QRect second = list->visualItemRect(list->item(1));
    press(list->viewport(), Qt::RightButton, second.center());
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(list->currentRow(), 1);   // the row under the pointer is the one acted on
    menu.hide();
    key(list, Qt::Key_Menu);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
    EXPECT_EQ(prepared, 3);

    for (QWidget* w : std::initializer_list<QWidget*>{list, button, &dialog}) key(w, Qt::Key_Delete);
    EXPECT_EQ(deleted, 3);
    key(list, Qt::Key_Delete, QString(), Qt::ShiftModifier);   // the modifiers held must be the key's own
    EXPECT_EQ(deleted, 3);

    // A menu item's key runs the item only while it is enabled; AnyModifiers takes any.
    QAction* up = menu.addAction(QStringLiteral("Up"));
    int ups = 0;
    QObject::connect(up, &QAction::triggered, [&] { ++ups; });
    dialog.useDialogKey(Qt::ALT | Qt::Key_Up, up);
    dialog.useDialogKey(QKeyCombination(ToolDialog::AnyModifiers, Qt::Key_Insert), up);
    key(list, Qt::Key_Up, QString(), Qt::AltModifier);
    key(list, Qt::Key_Insert, QString(), Qt::ControlModifier | Qt::ShiftModifier);
    up->setEnabled(false);
    key(list, Qt::Key_Up, QString(), Qt::AltModifier);
    EXPECT_EQ(ups, 2);
    EXPECT_EQ(list->currentRow(), 1);   // taken by the dialog even so: the list never moved
    {
        ToolDialog::Busy busy(dialog);
        key(list, Qt::Key_Delete);
        press(label, Qt::LeftButton, QPoint(2, 2));
    }
    EXPECT_EQ(deleted, 3);
    EXPECT_FALSE(menu.isVisible());
}

} // namespace
