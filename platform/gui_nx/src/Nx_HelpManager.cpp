#include "gui_nx/Nx_HelpManager.h"

#include "pal/File.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QTextStream>
#include <QUrl>

#include <dlfcn.h>

#include <string>

#ifndef NX_DATA_REL_DIR
#define NX_DATA_REL_DIR "../share/olmw"
#endif

namespace {

// Any object of this library: its address tells dladdr where the library is.
const int g_libraryAnchor = 0;

QString topicKey(const QString& topic) { return topic.simplified().toLower(); }

// A page path of the map without its "#section", if any.
QString fileOf(const QString& page) {
    const qsizetype hash = page.lastIndexOf(QLatin1Char('#'));
    return hash > 0 ? page.left(hash) : page;
}

// The topic without its last word: the category of "<category> <qualifier>".
QString categoryOf(const QString& topic) {
    const QString key = topicKey(topic);
    const qsizetype blank = key.lastIndexOf(QLatin1Char(' '));
    return blank < 0 ? QString() : key.left(blank);
}

bool readMap(const QString& path, QHash<QString, QString>& topics) {
    std::string content;
    Pal::InputCheck check;
    const QByteArray localPath = QFile::encodeName(path);
    if (!Pal::File::readInput(localPath.constData(), Nx_HelpManager::kMaxMapBytes, content, check)) {
        if (check.problem == Pal::InputCheck::Problem::kNotRegular) {
            qWarning("Help map %s is not a regular file (%s)", localPath.constData(), check.kind);
        } else if (check.problem == Pal::InputCheck::Problem::kTooLarge) {
            qWarning("Help map %s is too large (%llu bytes; the limit is %llu bytes)", localPath.constData(),
                     static_cast<unsigned long long>(check.size), static_cast<unsigned long long>(check.limit));
        }
        return false;
    }
    const QDir folder = QFileInfo(path).absoluteDir();
    QTextStream in(QByteArray::fromStdString(content));
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0) continue;
        const QString topic = topicKey(line.left(equals));
        QString page = line.mid(equals + 1).trimmed();
        // "page#section": the section is kept apart from the path to clean.
        QString section;
        if (const qsizetype hash = page.lastIndexOf(QLatin1Char('#')); hash > 0) {
            section = page.mid(hash);
            page = page.left(hash).trimmed();
        }
        if (topic.isEmpty() || page.isEmpty()) continue;
        topics.insert(topic, QDir::cleanPath(folder.absoluteFilePath(page)) + section);
    }
    return true;
}

// Deletes the help window when the application ends, before Qt goes away.
void deleteHelpWindowAtExit() { Nx_HelpManager::getInstance()->closeHelpWindow(); }

}  // namespace

Nx_HelpManager* Nx_HelpManager::getInstance() {
    static Nx_HelpManager instance;
    return &instance;
}

QString Nx_HelpManager::helpDirectory() {
    const QByteArray dataDir = qgetenv("OLMW_DATA_DIR");
    if (!dataDir.isEmpty())
        return QDir::cleanPath(QDir(QString::fromLocal8Bit(dataDir)).absoluteFilePath("help"));
    Dl_info info{};
    if (dladdr(&g_libraryAnchor, &info) == 0 || !info.dli_fname) return QString();
    const QString libraryDir = QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath();
    return QDir::cleanPath(libraryDir + QLatin1Char('/') + QLatin1String(NX_DATA_REL_DIR) +
                           QLatin1String("/help"));
}

bool Nx_HelpManager::addHelpFile(const QString& mapFile) {
    if (mapFile.isEmpty()) return false;
    QString path = mapFile;
    if (QFileInfo(mapFile).isRelative()) {
        const QString folder = helpDirectory();
        if (folder.isEmpty()) return false;
        path = QDir(folder).absoluteFilePath(mapFile);
    }
    QHash<QString, QString> topics;
    if (!readMap(path, topics) || topics.isEmpty()) {
        m_maps.remove(mapFile);
        return false;
    }
    m_maps.insert(mapFile, topics);
    return true;
}

QString Nx_HelpManager::topicPage(const QString& map, const QString& topic,
                                  TopicPrefix prefix) const {
    const auto found = m_maps.constFind(map);
    if (found == m_maps.constEnd()) return QString();
    const QHash<QString, QString>& topics = found.value();
    QStringList keys;
    if (prefix == ExactTopic || prefix == TopicOrCategory) keys << topicKey(topic);
    if (prefix == CategoryOnly || prefix == TopicOrCategory) keys << categoryOf(topic);
    for (const QString& key : keys) {
        if (key.isEmpty()) continue;
        const auto page = topics.constFind(key);
        if (page != topics.constEnd() && QFileInfo(fileOf(page.value())).isFile()) return page.value();
    }
    return QString();
}

bool Nx_HelpManager::showHelpTopic(const QString& map, const QString& topic, TopicPrefix prefix) {
    const QString page = topicPage(map, topic, prefix);
    if (page.isEmpty() || !qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
    // While a modal wizard runs, a window of its own is the only one the user
    // can reach: the help window belongs to the modal window then.
    QWidget* owner = QApplication::activeModalWidget();
    if (m_window && m_window->parentWidget() != owner) closeHelpWindow();
    if (!m_window) {
        static bool cleanupRegistered = false;
        if (!cleanupRegistered) {
            qAddPostRoutine(deleteHelpWindowAtExit);
            cleanupRegistered = true;
        }
        m_window = new QTextBrowser(owner);
        m_window->setWindowFlags(Qt::Window);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        m_window->setObjectName(QStringLiteral("NxHelpWindow"));
        m_window->setOpenExternalLinks(false);
        m_window->resize(600, 480);
    }
    m_window->setWindowTitle(QStringLiteral("More Info - %1").arg(topic));
    const QString file = fileOf(page);
    QUrl url = QUrl::fromLocalFile(file);
    if (file.size() < page.size()) url.setFragment(page.mid(file.size() + 1));
    m_window->setSource(url);
    m_window->show();
    m_window->raise();
    return true;
}

QTextBrowser* Nx_HelpManager::helpWindow() const { return m_window.data(); }

void Nx_HelpManager::closeHelpWindow() { delete m_window.data(); }
