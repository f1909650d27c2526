#pragma once

#include <QDialog>

class Mensajes;
class QFileSystemModel;
class QListWidget;
class QTreeView;

// The browse window: the user finds trafos.mdb in a folder tree. Linux has no drives, so the
// tree starts at the root and stands for both the drive and the folder lists.
class CambiarDireccion : public QDialog
{
    Q_OBJECT
public:
    CambiarDireccion(const QString& startFolder, Mensajes& mensajes, QWidget* parent = nullptr);

    // The folder chosen in the tree.
    QString folder() const { return m_folder; }
    // Chooses a folder as a click in the tree does; an unreadable one keeps the previous choice.
    bool setFolder(const QString& folder);
    // The folder handed back on acceptance.
    QString chosenFolder() const { return m_chosen; }

    // "&Aceptar": needs the data file selected in the file list.
    void aceptar();

private:
    void llenarArchivos();
    void seleccionarEnArbol(const QString& folder);

    Mensajes& m_mensajes;
    QFileSystemModel* m_model = nullptr;
    QTreeView* m_tree = nullptr;
    QListWidget* m_files = nullptr;
    QString m_folder;
    QString m_chosen;
    bool m_moviendo = false;
};
