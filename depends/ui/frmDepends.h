#pragma once

#include "depends/ModuleSource.h"
#include "depends/VersionReader.h"

#include <QDialog>
#include <QStringList>

#include <memory>

class QTreeWidget;

// "Software Dependencies": every module loaded into the program's process
// with its product name, file version and company. The list is built once,
// when the window is created; it can then be sorted and resized only.
class frmDepends : public QDialog {
    Q_OBJECT
public:
    // The process's own modules, described by their files.
    explicit frmDepends(QWidget* parent);
    frmDepends(std::unique_ptr<IModuleSource> modules, std::unique_ptr<IVersionReader> versions,
               QWidget* parent);

    // Builds the list: one row per module, sorted by path.
    void Form_Load();
    // Fits the list to the window; nothing while the window is minimised.
    void Form_Resize();
    // Sorts ascending by the clicked column (1 "File Name" to 4 "Company Name").
    void ListView_HeaderClick(int columnIndex);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void SetColumnWidths();

    std::unique_ptr<IModuleSource> m_modules;
    std::unique_ptr<IVersionReader> m_versions;
    QStringList DependencyList;
    QTreeWidget* ListView;
};
