#include "mainwindow/FrmMenus.h"

#include <QLabel>

FrmMenus::FrmMenus() { setObjectName(QStringLiteral("FrmMenus")); }

QLabel* FrmMenus::hiddenLabel(const char* name)
{
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->hide();
    return label;
}
