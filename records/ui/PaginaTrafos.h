#pragma once

#include <QWidget>

class QVBoxLayout;

// The transformers tab: detail, table, accessories and general diagnosis.
class PaginaTrafos : public QWidget
{
    Q_OBJECT
public:
    explicit PaginaTrafos(QWidget* parent = nullptr);

private:
    QVBoxLayout* m_layout = nullptr;
};
