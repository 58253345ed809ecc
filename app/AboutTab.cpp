#include "app/AboutTab.h"

#include "app/LicenceWindow.h"
#include "app/TabPage.h"
#include "app/VersionCaption.h"
#include "depends/OwnVersionRecord.h"
#include "depends/ui/frmDepends.h"
#include "platform/ui/Twips.h"

#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace {

const char* const LicenceTitle = "Quenvarel Freeware License Agreement";
const char* const LicenceDocument = "Quenvarel Freeware License Agreement.rtf";
// The same agreement as plain text, written from the document at build time.
const char* const LicenceText = "Quenvarel Freeware License Agreement.txt";
const char* const SiteAddress = "https://www.quenvarel.example/tidewright";
const char* const Summary = "A terminal for SDI-12 environmental sensors on a serial adaptor.";
const char* const Disclaimer =
    "This program is provided \"as is\", without warranty of any kind. Check every "
    "setting written to a sensor before relying on its measurements.";

QFrame* MakeRule(QWidget* parent, double left, double top, double right, const QColor& colour) {
    auto* rule = new QFrame(parent);
    rule->setGeometry(Twips::ToPixels(left), Twips::ToPixels(top - TabPage::StripTwips),
                      Twips::ToPixels(right) - Twips::ToPixels(left) + 1, 1);
    QPalette palette = rule->palette();
    palette.setColor(QPalette::Window, colour);
    rule->setPalette(palette);
    rule->setAutoFillBackground(true);
    return rule;
}

QLabel* MakeLabel(QWidget* parent, double left, double top, double width, double height) {
    auto* label = new QLabel(parent);
    label->setGeometry(TabPage::ToPixels(left, top, width, height));
    return label;
}

} // namespace

// Places are designed in the tab control's coordinates, as on the other tabs.
AboutTab::AboutTab(IShell& shell, IFolders& folders, const QIcon& windowIcon, QWidget* parent)
    : QWidget(parent), m_shell(shell), m_folders(folders) {
    Image = MakeLabel(this, 390, 1080, 405, 375);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setPixmap(windowIcon.pixmap(16, 16));
    Image->setScaledContents(true);
    Image->installEventFilter(this);

    lblTitle = MakeLabel(this, 1110, 600, 4755, 480);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSize(18);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    lblVersion = MakeLabel(this, 1110, 1140, 4605, 225);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));

    lblDescription = MakeLabel(this, 1110, 1440, 4755, 840);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);

    lblSite = MakeLabel(this, 1080, 2400, 1935, 255);
    lblSite->setObjectName(QStringLiteral("lblSite"));
    lblSite->setText(QString::fromLatin1(SiteAddress));
    QPalette sitePalette = lblSite->palette();
    sitePalette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    lblSite->setPalette(sitePalette);
    lblSite->setCursor(Qt::PointingHandCursor);
    lblSite->adjustSize();
    lblSite->installEventFilter(this);

    // An etched rule: a white line under a grey one.
    Line1[0] = MakeRule(this, 240, 2828, 5789, QColor(255, 255, 255));
    Line1[1] = MakeRule(this, 240, 2805, 5804, QColor(128, 128, 128));

    lblDisclaimer = MakeLabel(this, 240, 3000, 4200, 1200);
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Command1 = new QPushButton(QStringLiteral("View license"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(TabPage::ToPixels(4590, 3000, 1246, 345));
    connect(Command1, &QPushButton::clicked, this, &AboutTab::Command1_Click);
}

void AboutTab::FillLabels() {
    lblTitle->setText(QString::fromUtf8(OwnVersionRecord::ProductName));
    lblVersion->setText(versionCaption());
    lblDescription->setText(QString::fromUtf8(Summary) + QLatin1Char('\n') +
                            QString::fromUtf8(OwnVersionRecord::LegalCopyright));
    lblDisclaimer->setText(QString::fromUtf8(Disclaimer));
}

// Without the document there is nothing to show, and nothing is said.
void AboutTab::Command1_Click() {
    const QString folder = m_folders.ProgramFolder() + QLatin1Char('/');
    const QString document = folder + QString::fromUtf8(LicenceDocument);
    if (!QFileInfo(document).isFile() || m_shell.Open(document))
        return;
    const QString noProgram =
        tr("No program on this desktop opens %1").arg(QString::fromUtf8(LicenceDocument));
    QFile text(folder + QString::fromUtf8(LicenceText));
    if (!text.open(QIODevice::ReadOnly)) {
        emit Report(noProgram);
        return;
    }
    emit Report(tr("%1; the licence is shown in its own window").arg(noProgram));
    auto* window = new LicenceWindow(QString::fromUtf8(LicenceTitle),
                                     QString::fromUtf8(text.readAll()), this->window());
    window->show();
}

void AboutTab::lblSite_Click() {
    m_shell.Open(lblSite->text());
}

void AboutTab::Image_DblClick() {
    frmDepends dependencies(window());
    dependencies.exec();
}

bool AboutTab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Image && event->type() == QEvent::MouseButtonDblClick) {
        Image_DblClick();
        return true;
    }
    if (watched == lblSite && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        lblSite_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
