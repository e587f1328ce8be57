#include "support/TestEnv.h"

#include "common/ToolDialog.h"
#include "common/modColours.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

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
    EXPECT_EQ(base(first), ToolDialog::NormalColour);

    first->setFocus();
    processEvents(20);
    EXPECT_EQ(base(first), ToolDialog::FocusColour);
    EXPECT_EQ(first->selectedText(), QStringLiteral("hello"));

    combo->setFocus();
    processEvents(20);
    EXPECT_EQ(base(first), ToolDialog::NormalColour);
    EXPECT_EQ(base(combo), ToolDialog::FocusColour);
}

} // namespace
