#pragma once
// The about box: the program's title, version, build and compile date, its author and
// credits, and links to the web sites, a mail to the author and the update check. Links act
// when the left button goes down on them, and close the box. Loaded afresh for each showing.
#include <QDialog>

class QLabel;

class FrmAbout : public QDialog {
    Q_OBJECT
public:
    FrmAbout();

    // The author as the box names him, and where his mail goes.
    static QString authorName();
    static QString authorAddress();

    QLabel* imgTop = nullptr;
    QLabel* imgBottom = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblBuild = nullptr;
    QLabel* lblCompiled = nullptr;
    QLabel* lblEmailAddress = nullptr;
    QLabel* lblWebAddress[2] = {};   // the maker's web site, the product's web site
    QLabel* lblCheckForUpdates = nullptr;

    void Form_Load();
    void Form_KeyDown(int keyCode, int shift);
    void lblWebAddress_MouseDown(int index, int button);
    void lblEmailAddress_MouseDown(int button);
    void lblCheckForUpdates_MouseDown(int button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
