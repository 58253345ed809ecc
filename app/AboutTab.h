#pragma once

#include "platform/Folders.h"
#include "platform/Shell.h"

#include <QIcon>
#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;

// The "About" tab: which program and version runs, the licence, the
// maker's site, and the dependencies window behind the icon.
class AboutTab : public QWidget {
    Q_OBJECT
public:
    AboutTab(IShell& shell, IFolders& folders, const QIcon& windowIcon, QWidget* parent);

    // Start-up fills the title, version, description and disclaimer.
    void FillLabels();

    // Opens the licence document beside the program; where no program opens
    // it, shows the same licence as plain text in a window of its own. Does
    // nothing when the document is missing.
    void Command1_Click();
    // Hands the site label's text to the shell unchanged.
    void lblSite_Click();
    // Shows the dependencies window modally, owned by the main window.
    void Image_DblClick();

signals:
    // A sentence for status panel 1.
    void Report(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    IShell& m_shell;
    IFolders& m_folders;

    QLabel* Image;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QLabel* lblDisclaimer;
    QLabel* lblSite;
    QFrame* Line1[2];
    QPushButton* Command1;
};
