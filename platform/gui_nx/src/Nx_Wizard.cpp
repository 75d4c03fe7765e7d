#include "gui_nx/Nx_Wizard.h"

#include "gui_nx/Nx_MessageBox.h"
#include "gui_nx/Nx_WheelGuard.h"
#include "gui_nx/Nx_WizardPage.h"

#include <QAbstractButton>
#include <QDialog>
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QMetaObject>
#include <QPixmap>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <QWizardPage>

#include <functional>

namespace {

// The QWizardPage that carries an Nx_WizardPage's widget inside the wizard.
// It tells the wizard when QWizard initialises it, which happens before the
// page is shown on its way forward.
class NxPageHost : public QWizardPage {
public:
    // sizeOfAll gives the size every page asks for (the largest page's).
    NxPageHost(Nx_WizardPage* page, std::function<void(int)> onInitialize, std::function<QSize()> sizeOfAll)
        : m_page(page), m_onInitialize(std::move(onInitialize)), m_sizeOfAll(std::move(sizeOfAll)) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        connect(page, &Nx_WizardPage::completeChanged, this, &QWizardPage::completeChanged);
    }

    // Next and Finish follow the page's own answer.
    bool isComplete() const override { return !m_page || m_page->isComplete(); }

    // Every page asks for the room of the largest, so that the window's size
    // hint does not depend on the page shown first.
    QSize sizeHint() const override { return m_sizeOfAll(); }
    QSize ownSizeHint() const { return QWizardPage::sizeHint(); }

    void initializePage() override {
        if (wizard()) m_onInitialize(wizard()->currentId());
    }

    // The page body replaces any body shown before.
    void setBody(QWidget* body) {
        auto* box = static_cast<QVBoxLayout*>(layout());
        while (QLayoutItem* item = box->takeAt(0)) {
            if (QWidget* old = item->widget()) old->hide();
            delete item;
        }
        if (body) {
            box->addWidget(body);
            body->show();
        }
    }

private:
    QPointer<Nx_WizardPage> m_page;
    std::function<void(int)> m_onInitialize;
    std::function<QSize()> m_sizeOfAll;
};

// A 1280 x 800 screen less the window frame (title bar, borders) and a panel.
constexpr int kMaxOpeningWidth = 1240;
constexpr int kMaxOpeningHeight = 740;
constexpr int kFrameAllowance = 40;

}  // namespace

Nx_Wizard::Nx_Wizard(const QString& caption, QWidget* parent, const QString& name, bool modal,
                     unsigned flags)
    : QWizard(parent) {
    setWindowTitle(caption);
    if (!name.isEmpty()) setObjectName(name);
    setModal(modal);
    if (flags != 0) setWindowFlags(Qt::WindowFlags(static_cast<int>(flags)));

    setButtonText(QWizard::HelpButton, QStringLiteral("More Info"));
    setButtonText(QWizard::CustomButton1, QStringLiteral("Advanced"));
    // Going back must ask the page first; QWizard's own Back connection
    // would move without asking.
    QAbstractButton* back = button(QWizard::BackButton);
    disconnect(back, nullptr, this, nullptr);
    connect(back, &QAbstractButton::clicked, this, &Nx_Wizard::onBackClicked);
    connect(this, &QWizard::helpRequested, this, &Nx_Wizard::onHelpRequested);
    connect(this, &QWizard::customButtonClicked, this, [this](int which) {
        if (which == QWizard::CustomButton1) onAdvancedClicked();
    });
    connect(this, &QWizard::currentIdChanged, this, &Nx_Wizard::onCurrentPageChanged);
    m_wheelGuard = new Nx_WheelGuard(this);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &Nx_Wizard::onHelpKey);
}

Nx_Wizard::~Nx_Wizard() {
    // Delete the pages while the wizard is still whole, so that their
    // destructors can detach from it; QObject would delete them later.
    m_destroying = true;
    std::vector<QPointer<Nx_WizardPage>> pages;
    for (const Entry& entry : m_entries) pages.push_back(entry.page);
    m_entries.clear();
    for (QPointer<Nx_WizardPage>& page : pages) {
        if (page) {
            page->m_wizard = nullptr;
            delete page.data();
        }
    }
}

void Nx_Wizard::showMoreInfo(bool show) {
    m_moreInfo = show;
    updateHelpButtons();
}

QList<Nx_WizardPage*> Nx_Wizard::nxPages() const {
    QList<Nx_WizardPage*> pages;
    for (const Entry& entry : m_entries)
        if (entry.page) pages.append(entry.page.data());
    return pages;
}

Nx_WizardPage* Nx_Wizard::currentNxPage() const {
    const Entry* entry = findEntry(currentId());
    return entry ? entry->page.data() : nullptr;
}

Nx_WizardPage* Nx_Wizard::nxPageAfter(const Nx_WizardPage* page) const {
    const QList<Nx_WizardPage*> pages = nxPages();
    const qsizetype index = pages.indexOf(const_cast<Nx_WizardPage*>(page));
    return index >= 0 && index + 1 < pages.size() ? pages[index + 1] : nullptr;
}

Nx_WizardPage* Nx_Wizard::nxPageBefore(const Nx_WizardPage* page) const {
    const QList<Nx_WizardPage*> pages = nxPages();
    const qsizetype index = pages.indexOf(const_cast<Nx_WizardPage*>(page));
    return index > 0 ? pages[index - 1] : nullptr;
}

bool Nx_Wizard::validateCurrentPage() {
    Nx_WizardPage* page = currentNxPage();
    if (!page) return QWizard::validateCurrentPage();
    const bool finishing = m_finishing || nextId() == -1;
    const bool accepted = finishing ? page->onFinish() : page->onNext();
    if (!accepted) return false;
    page->widgetsToData();
    return true;
}

int Nx_Wizard::nextId() const {
    bool afterCurrent = false;
    for (const Entry& entry : m_entries) {
        if (entry.id == currentId()) {
            afterCurrent = true;
            continue;
        }
        if (afterCurrent && entry.page && !entry.page->isSkipped()) return entry.id;
    }
    return -1;
}

void Nx_Wizard::done(int result) {
    // QWizard validates the current page before it accepts: that is Finish.
    m_finishing = result == QDialog::Accepted;
    QWizard::done(result);
    m_finishing = false;
}

void Nx_Wizard::reject() {
    if (Nx_WizardPage* page = currentNxPage()) {
        if (!page->onCancel()) return;
    }
    QWizard::reject();
}

void Nx_Wizard::onBackClicked() {
    Nx_WizardPage* page = currentNxPage();
    if (page && !page->onBack()) return;
    back();
}

void Nx_Wizard::onHelpRequested() {
    if (Nx_WizardPage* page = currentNxPage()) page->onMoreInfo();
}

void Nx_Wizard::onHelpKey() {
    // F1 is the key of the "More Info" button: only while that is offered.
    QAbstractButton* help = button(QWizard::HelpButton);
    if (testOption(QWizard::HaveHelpButton) && help->isEnabled()) onHelpRequested();
}

QSize Nx_Wizard::maxOpeningSize() {
    QSize limit(kMaxOpeningWidth, kMaxOpeningHeight);
    // The offscreen platform's screen is a fixed stand-in; real screens
    // smaller than 1280 x 800 bound the window too.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen && QGuiApplication::platformName() != QLatin1String("offscreen")) {
        const QSize free = screen->availableSize() - QSize(kFrameAllowance, kFrameAllowance);
        if (free.isValid()) limit = limit.boundedTo(free);
    }
    return limit;
}

QSize Nx_Wizard::openingSize() const {
    return sizeHint().boundedTo(maxOpeningSize());
}

void Nx_Wizard::setVisible(bool visible) {
    // Sized once, before the first show; after that the user's size stays.
    if (visible && !m_openedOnce) {
        m_openedOnce = true;
        // QWizard starts at the first page when shown; the size hint counts
        // the header of the page shown, so start first.
        if (currentId() == -1) restart();
        ensurePolished();
        resize(openingSize());
    }
    QWizard::setVisible(visible);
}

QString Nx_Wizard::snapshotName(int number, const QString& pageTitle) {
    QString name = pageTitle.simplified().toLower();
    name.replace(QLatin1Char(' '), QLatin1Char('-'));
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    return QStringLiteral("%1-%2.png").arg(number, 2, 10, QLatin1Char('0')).arg(name);
}

int Nx_Wizard::exec() {
    if (m_snapshotFolder.isEmpty() && !m_walkToFinish) return QWizard::exec();
    return walkPages();
}

void Nx_Wizard::closeForeignDialog() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == this || !m_walkProblem.isEmpty()) return;
    if (modal->property(kEndsByItself).toBool()) return;
    const Nx_WizardPage* page = currentNxPage();
    m_walkProblem = QStringLiteral("a dialog '%1' opened on the page %2, which the walk cannot answer")
                        .arg(modal->windowTitle(), page ? page->pageName() : QString());
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    else modal->close();
}

int Nx_Wizard::walkPages() {
    m_snapshots.clear();
    m_walkProblem.clear();
    const bool wasUnattended = Nx_MessageBox::isUnattended();
    Nx_MessageBox::setUnattended(true);
    // A dialog that a page opens runs its own event loop: the timer fires
    // there and closes it, so that the walk never waits for an answer.
    QTimer watch;
    watch.setInterval(50);
    QObject::connect(&watch, &QTimer::timeout, this, [this] { closeForeignDialog(); });
    watch.start();
    restart();
    show();
    const QDir folder(m_snapshotFolder);
    bool finished = false;
    for (int number = 1; currentNxPage(); ++number) {
        QApplication::processEvents();
        Nx_WizardPage* page = currentNxPage();
        if (!m_snapshotFolder.isEmpty()) {
            const QString file = folder.absoluteFilePath(snapshotName(number, page->pageName()));
            if (!grab().save(file, "PNG")) {
                m_walkProblem = QStringLiteral("cannot write %1").arg(file);
                break;
            }
            m_snapshots << file;
        }
        if (m_walkToFinish && !page->isComplete()) {
            m_walkProblem = QStringLiteral("the page %1 is not complete").arg(page->pageName());
            break;
        }
        if (nextId() == -1) {
            if (m_walkToFinish) {
                accept();
                finished = result() == QDialog::Accepted && m_walkProblem.isEmpty();
                if (!finished && m_walkProblem.isEmpty())
                    m_walkProblem = QStringLiteral("the page %1 does not finish").arg(page->pageName());
            }
            break;
        }
        next();
        if (!m_walkProblem.isEmpty()) break;
        if (currentNxPage() == page) {
            m_walkProblem = QStringLiteral("the page %1 does not take its settings").arg(page->pageName());
            break;
        }
    }
    watch.stop();
    hide();
    Nx_MessageBox::setUnattended(wasUnattended);
    if (!m_snapshotFolder.isEmpty()) emit pageSnapshotsTaken(m_snapshots, m_walkProblem);
    if (m_walkToFinish) emit walkEnded(m_walkProblem);
    return finished ? 1 : 0;
}

void Nx_Wizard::onAdvancedClicked() {
    if (Nx_WizardPage* page = currentNxPage()) page->onAdvanced();
}

void Nx_Wizard::onCurrentPageChanged(int id) {
    updateHelpButtons();
    const Entry* entry = findEntry(id);
    if (!entry || !entry->page) return;
    // Widgets a page added after it was given its body are guarded too.
    m_wheelGuard->guard(entry->page->pageWidget());
    // The page is current from now on; QWizard initialised it on its way
    // forward, but not when the user came back to it.
    initializeNxPage(id);
    QPointer<Nx_WizardPage> page = entry->page;
    page->dataToWidgets();
    if (page) page->onActive();
}

void Nx_Wizard::initializeNxPage(int id) {
    const Entry* entry = findEntry(id);
    if (!entry || !entry->page || entry->page->m_initialized) return;
    Nx_WizardPage* page = entry->page.data();
    page->m_initialized = true;
    // init() is not a slot of every page: call it where the page has one.
    if (page->metaObject()->indexOfMethod("init()") >= 0)
        QMetaObject::invokeMethod(page, "init", Qt::DirectConnection);
}

void Nx_Wizard::attachPage(Nx_WizardPage* page) {
    auto* host = new NxPageHost(page, [this](int id) { initializeNxPage(id); },
                                [this] {
                                    QSize all;
                                    for (const Entry& entry : m_entries)
                                        all = all.expandedTo(static_cast<NxPageHost*>(entry.host)->ownSizeHint());
                                    return all;
                                });
    Entry entry;
    entry.page = page;
    entry.host = host;
    entry.id = addPage(host);
    m_entries.push_back(entry);
}

void Nx_Wizard::detachPage(Nx_WizardPage* page) {
    if (m_destroying) return;
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->page.data() != page) continue;
        QWizardPage* host = it->host;
        const int id = it->id;
        m_entries.erase(it);
        removePage(id);
        delete host;  // with the page body: the wizard owns it
        return;
    }
}

void Nx_Wizard::setPageBody(Nx_WizardPage* page, QWidget* body) {
    if (const Entry* entry = findEntry(page)) static_cast<NxPageHost*>(entry->host)->setBody(body);
    m_wheelGuard->guard(body);
}

void Nx_Wizard::setPageTitle(Nx_WizardPage* page, const QString& title) {
    if (const Entry* entry = findEntry(page)) entry->host->setTitle(title);
}

void Nx_Wizard::updateHelpButtons() {
    Nx_WizardPage* page = currentNxPage();
    const bool pageShows = page ? page->isMoreInfoShown() : true;
    const bool pageEnables = page ? page->isMoreInfoEnabled() : true;
    setOption(QWizard::HaveHelpButton, m_moreInfo && pageShows);
    button(QWizard::HelpButton)->setEnabled(pageEnables);
    setOption(QWizard::HaveCustomButton1, page && page->advancedSupport() != 0);
}

const Nx_Wizard::Entry* Nx_Wizard::findEntry(const Nx_WizardPage* page) const {
    for (const Entry& entry : m_entries)
        if (page && entry.page.data() == page) return &entry;
    return nullptr;
}

const Nx_Wizard::Entry* Nx_Wizard::findEntry(int id) const {
    for (const Entry& entry : m_entries)
        if (entry.id == id) return &entry;
    return nullptr;
}
