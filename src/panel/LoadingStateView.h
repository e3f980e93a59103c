#pragma once

#include <QWidget>

// Shown while the first read of Figma's tabs is slow: a spinner and "Looking for Figma tabs…".
class LoadingStateView : public QWidget {
    Q_OBJECT
public:
    explicit LoadingStateView(QWidget *parent = nullptr);
};
