#include "BlackWidget.h"

BlackWidget::BlackWidget(QWidget *parent)
    : QWidget(parent)
{
    QPalette blackPalette = palette();
    blackPalette.setBrush(QPalette::All, QPalette::Window, QBrush(Qt::black, Qt::SolidPattern));
    setPalette(blackPalette);
}
