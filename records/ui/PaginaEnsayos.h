#pragma once

#include <QWidget>

class QVBoxLayout;

// The oil tests tab: detail, table, graphs and calendar.
class PaginaEnsayos : public QWidget
{
    Q_OBJECT
public:
    explicit PaginaEnsayos(QWidget* parent = nullptr);

private:
    QVBoxLayout* m_layout = nullptr;
};
