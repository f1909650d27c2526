#pragma once

#include <QWidget>

class QVBoxLayout;

// The search tab: query builder, searches, sub-groups and reports.
class PaginaBuscar : public QWidget
{
    Q_OBJECT
public:
    explicit PaginaBuscar(QWidget* parent = nullptr);

    // The state light of the current transformer at the page's top right (element 7).
    QWidget* luz() const { return m_luz; }
    void setEstadoLuz(int estado);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QVBoxLayout* m_layout = nullptr;
    QWidget* m_luz = nullptr;
};
