#pragma once

#include <QWidget>

class QAbstractButton;

// The card that invites the user to make a first folder, shown while no folder exists.
class UngroupedHintCard : public QWidget {
    Q_OBJECT
public:
    explicit UngroupedHintCard(QWidget *parent = nullptr);

    QAbstractButton *createButton() const { return m_createButton; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

signals:
    void createFolderRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    int bodyHeight(int width) const;

    QAbstractButton *m_createButton;
};
