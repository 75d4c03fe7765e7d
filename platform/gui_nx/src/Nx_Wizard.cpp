#include "gui_nx/Nx_Wizard.h"

#include "gui_nx/Nx_WizardPage.h"

#include <QAbstractButton>
#include <QMetaObject>
#include <QVBoxLayout>
#include <QWizardPage>

#include <functional>

namespace {

// The QWizardPage that carries an Nx_WizardPage's widget inside the wizard.
// It tells the wizard when QWizard initialises it, which happens before the
// page is shown on its way forward.
class NxPageHost : public QWizardPage {
public:
    explicit NxPageHost(std::function<void(int)> onInitialize)
        : m_onInitialize(std::move(onInitialize)) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
    }

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
    std::function<void(int)> m_onInitialize;
};

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

void Nx_Wizard::onAdvancedClicked() {
    if (Nx_WizardPage* page = currentNxPage()) page->onAdvanced();
}

void Nx_Wizard::onCurrentPageChanged(int id) {
    updateHelpButtons();
    const Entry* entry = findEntry(id);
    if (!entry || !entry->page) return;
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
    auto* host = new NxPageHost([this](int id) { initializeNxPage(id); });
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
