#ifndef BLACKWIDGET_H
#define BLACKWIDGET_H

#include <QWidget>

// The black window that covers a screen on which the screensaver shows no page.
class BlackWidget : public QWidget
{
    Q_OBJECT

public:
    explicit BlackWidget(QWidget *parent = nullptr);
};

#endif
