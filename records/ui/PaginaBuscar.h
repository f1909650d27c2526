#pragma once

#include <QList>
#include <QWidget>
#include <functional>

class DataViews;
class Mensajes;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QVBoxLayout;
class TablaRegistros;
struct RunState;

// The search tab: the current transformer's identity, the query builder and its condition list,
// the searches, the sub-group and its restore, saved searches, and a grid of the transformers.
class PaginaBuscar : public QWidget
{
    Q_OBJECT
public:
    explicit PaginaBuscar(QWidget* parent = nullptr);

    // Binds the page to the program's views. guardarPendientes saves what the record tabs hold
    // unsaved, as a move would; false stops the search.
    void conectar(RunState& estado, DataViews& vistas, Mensajes& mensajes,
                  std::function<bool()> guardarPendientes);

    // The state light of the current transformer at the page's top right (element 7).
    QWidget* luz() const { return m_luz; }
    void setEstadoLuz(int estado);

    // The condition list as it stands, and a list put in its place (as a saved search loads).
    QStringList lineas() const;
    void setLineas(const QStringList& lineas);

    // The commands of the buttons.
    void agregar();
    void borrar();
    void buscarPrimero();
    void buscarSiguiente();
    void subAgrupar();
    void restaurar();
    void abrirArchivo();
    void guardarArchivo();

    QComboBox* combo(int indice) const; // 6 table, 1 field, 2 comparison, 7 connector
    QComboBox* valor() const { return m_valor; }
    QPushButton* abre() const { return m_abre; }
    QPushButton* cierra() const { return m_cierra; }
    QListWidget* lista() const { return m_lista; }
    QPushButton* boton(const QString& nombre) const; // by object name (Command1, VxBoton12...)
    QLabel* etiquetaOperador() const { return m_operador; }
    // The code of the last search hit.
    qint64 UltimoCodigo = 0;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void tablaElegida();
    void campoElegido();
    void mostrarConectores(bool visibles);
    void mostrarTrafo();
    bool irACodigo(qint64 codigo);
    void cambioEnLista();

    RunState* m_estado = nullptr;
    DataViews* m_vistas = nullptr;
    Mensajes* m_mensajes = nullptr;
    std::function<bool()> m_guardarPendientes;
    QList<qint64> m_encontrados; // the codes of the last search, ascending

    QVBoxLayout* m_layout = nullptr;
    QWidget* m_luz = nullptr;
    QList<QLineEdit*> m_identidad;
    QComboBox* m_tabla = nullptr;
    QComboBox* m_campo = nullptr;
    QComboBox* m_comparacion = nullptr;
    QComboBox* m_valor = nullptr;
    QComboBox* m_conector = nullptr;
    QLabel* m_operador = nullptr;
    QPushButton* m_abre = nullptr;
    QPushButton* m_cierra = nullptr;
    QListWidget* m_lista = nullptr;
    QList<QPushButton*> m_botones;
    QWidget* m_zonaGrilla = nullptr;
    TablaRegistros* m_grilla = nullptr;
};
