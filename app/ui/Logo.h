#pragma once

#include <QWidget>

// The program's logo: a power transformer symbol (two linked windings on a core) drawn
// with the painter, so the program ships no image files.
class Logo : public QWidget
{
    Q_OBJECT
public:
    explicit Logo(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
