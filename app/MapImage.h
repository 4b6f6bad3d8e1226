#pragma once
// The image control that shows the map image, at its full size, inside the map view.

#include <QWidget>

class TMapImage : public QWidget {
    Q_OBJECT
public:
    explicit TMapImage(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
