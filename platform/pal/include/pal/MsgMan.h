#pragma once

#include "pal/PalExport.h"
#include "pal/String.h"

#include <functional>

namespace Pal {

// The message manager: user-visible errors of one report.
// createObject() describes where a report comes from; issueError() shows it.
// By default the text goes to standard error unchanged; a program may install
// a handler that receives the report instead (a GUI, a test, a log).
class PAL_API MsgMan {
public:
    struct Report {
        String category;
        String source;
        int line = 0;
        String revision;
        String text;
    };
    using Handler = std::function<void(const Report&)>;

    static MsgMan createObject(const char* category, const char* source, int line, const char* revision);

    void issueError(const char* text) const;

    // Installs a handler (an empty one restores the default) and returns the previous one.
    static Handler setHandler(Handler handler);

    const String& GetCategory() const { return m_category; }
    const String& GetSource() const { return m_source; }
    int GetLine() const { return m_line; }
    const String& GetRevision() const { return m_revision; }

private:
    MsgMan(const char* category, const char* source, int line, const char* revision);

    String m_category;
    String m_source;
    int m_line;
    String m_revision;
};

}  // namespace Pal
