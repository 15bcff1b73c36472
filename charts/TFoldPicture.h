#pragma once

#include <QWidget>

// The fold bars' picture: a red triangle with a black outline, centred, on a transparent ground.
class TFoldPicture : public QWidget {
    Q_OBJECT
public:
    enum class Direction { Up, Down };
    TFoldPicture(Direction direction, QWidget *parent = nullptr);
    Direction direction() const { return direction_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    Direction direction_;
};
