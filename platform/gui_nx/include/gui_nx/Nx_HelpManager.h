#pragma once

#include "gui_nx/GuiNxExport.h"

#include <QHash>
#include <QPointer>
#include <QString>

class QTextBrowser;

// Context help: help maps that name a local HTML page for each topic, and a
// help window that shows those pages.
//
// A help map is a text file. Each line "topic = page" maps a topic to an HTML
// page, given relative to the folder of the map (or as an absolute path).
// Blanks around topic and page are dropped and runs of blanks inside a topic
// count as one; topics are matched without regard to letter case. Empty lines
// and lines starting with '#' are ignored, and so are lines without '=' or
// with an empty topic or page. A later line for the same topic wins. A page
// may name a section of itself, "page.html#section" (an anchor of the
// page): the help window then opens the page at that section.
//
// A map named without a folder is looked for in the help folder: the "help"
// folder of $OLMW_DATA_DIR when that is set, else the "help" folder of the
// installed data, found relative to this library.
class NX_API Nx_HelpManager {
public:
    // How showHelpTopic matches a topic. Topics are "<category> <qualifier>";
    // the category may itself hold blanks, the qualifier is the last word.
    enum TopicPrefix {
        ExactTopic = 0,       // the topic as given
        CategoryOnly = 1,     // the topic without its last word
        TopicOrCategory = 2,  // the topic, else the category's default
    };

    // Largest help map read (16 MiB); the shipped one is under a kilobyte.
    static constexpr quint64 kMaxMapBytes = 16ull << 20;

    static Nx_HelpManager* getInstance();

    // Reads a help map and registers it under the name given. True when the
    // map holds at least one topic (more-info help can be shown). A map that
    // is not a regular file (a FIFO is refused without waiting) or is larger
    // than kMaxMapBytes is not read, with a warning naming it; a map that
    // does not exist is passed over quietly.
    bool addHelpFile(const QString& mapFile);
    // Shows the page of a topic of a registered map in the help window. False
    // when the map is not registered, the topic is not in it or its page does
    // not exist.
    bool showHelpTopic(const QString& map, const QString& topic, TopicPrefix prefix);

    // The full path of the page a topic leads to, followed by "#section" when
    // the map names one; empty as for showHelpTopic.
    QString topicPage(const QString& map, const QString& topic, TopicPrefix prefix) const;
    // The folder searched for maps named without a folder.
    static QString helpDirectory();

    // The help window, while it exists; closeHelpWindow deletes it.
    QTextBrowser* helpWindow() const;
    void closeHelpWindow();

private:
    Nx_HelpManager() = default;

    QHash<QString, QHash<QString, QString>> m_maps;  // map name -> topic -> page path
    QPointer<QTextBrowser> m_window;
};
