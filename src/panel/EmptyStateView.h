#pragma once

#include <QWidget>

// Shown when Figma has no tabs open and nothing was closed recently.
class EmptyStateView : public QWidget {
    Q_OBJECT
public:
    explicit EmptyStateView(QWidget *parent = nullptr);
};
