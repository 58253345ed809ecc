#include "depends/ui/frmDepends.h"

#include "depends/DependsLayout.h"
#include "platform/ui/Twips.h"

#include <QHeaderView>
#include <QTreeWidget>

frmDepends::frmDepends(QWidget* parent)
    : frmDepends(std::make_unique<ProcessModuleSource>(), std::make_unique<SystemVersionReader>(),
                 parent) {}

frmDepends::frmDepends(std::unique_ptr<IModuleSource> modules,
                       std::unique_ptr<IVersionReader> versions, QWidget* parent)
    : QDialog(parent), m_modules(std::move(modules)), m_versions(std::move(versions)),
      ListView(new QTreeWidget(this)) {
    setWindowTitle(QStringLiteral("Software Dependencies"));
    setFont(QFont(QStringLiteral("Tahoma")));
    resize(Twips::ToPixels(DependsLayout::ClientWidth),
           Twips::ToPixels(DependsLayout::ClientHeight));

    ListView->setObjectName(QStringLiteral("ListView"));
    ListView->setGeometry(Twips::ToPixels(DependsLayout::ListLeft, DependsLayout::ListTop,
                                          DependsLayout::ListWidth, DependsLayout::ListHeight));
    ListView->setRootIsDecorated(false);
    ListView->setUniformRowHeights(true);
    ListView->setAllColumnsShowFocus(true);
    // Columns follow the width rule even when the list has no room left.
    ListView->header()->setMinimumSectionSize(0);
    ListView->header()->setSectionsClickable(true);
    ListView->header()->setSortIndicatorShown(true);
    connect(ListView->header(), &QHeaderView::sectionClicked, this,
            [this](int logicalIndex) { ListView_HeaderClick(logicalIndex + 1); });

    Form_Load();
}

void frmDepends::Form_Load() {
    m_modules->GetProcessModules(DependencyList);

    ListView->clear();
    ListView->setHeaderLabels({QStringLiteral("File Name"), QStringLiteral("Product Name"),
                               QStringLiteral("File Version"), QStringLiteral("Company Name")});
    SetColumnWidths();

    QList<QTreeWidgetItem*> rows;
    rows.reserve(DependencyList.size());
    for (const QString& path : DependencyList) {
        auto* row = new QTreeWidgetItem(QStringList{path});
        VersionStrings strings;
        if (m_versions->GetVersionStrings(path, strings) == AllVersionStringsFound) {
            row->setText(1, strings.ProductName);
            row->setText(2, strings.FileVersion);
            row->setText(3, strings.CompanyName);
        }
        rows.append(row);
    }
    ListView->addTopLevelItems(rows);
    ListView_HeaderClick(1);
}

void frmDepends::Form_Resize() {
    if (isMinimized())
        return;
    const QSizeF listSize = DependsLayout::ListSize(Twips::FromPixels(frameGeometry().width()),
                                                    Twips::FromPixels(frameGeometry().height()));
    ListView->setGeometry(Twips::ToPixels(DependsLayout::ListLeft, DependsLayout::ListTop,
                                          listSize.width(), listSize.height()));
    SetColumnWidths();
}

void frmDepends::ListView_HeaderClick(int columnIndex) {
    // No descending order: every click sorts ascending.
    ListView->sortItems(columnIndex - 1, Qt::AscendingOrder);
}

void frmDepends::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmDepends::SetColumnWidths() {
    const std::array<int, 4> widths =
        DependsLayout::ColumnWidths(Twips::FromPixels(ListView->width()));
    for (int column = 0; column < int(widths.size()); ++column)
        ListView->setColumnWidth(column, Twips::ToPixels(widths[size_t(column)]));
}
