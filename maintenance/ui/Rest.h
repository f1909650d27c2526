#pragma once

#include <QDialog>

// The restore window. For now it only tells the user that restoring is not available yet.
class Rest : public QDialog
{
    Q_OBJECT
public:
    explicit Rest(QWidget* parent = nullptr);
};
