#pragma once

#include <QVariantAnimation>
#include <QWidget>

// A 12 px strip that spaces rows apart and, while targeted, shows where a drop will land: an
// accent dot followed by a bar across the strip, faded in and out over 80 ms.
class InsertionMarkerStrip : public QWidget {
public:
    static constexpr int stripHeight = 12;

    explicit InsertionMarkerStrip(QWidget *parent = nullptr);

    void setMarkerShown(bool shown);
    qreal markerOpacity() const { return opacity_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QVariantAnimation fade_;
    qreal opacity_ = 0;
    bool shown_ = false;
};
