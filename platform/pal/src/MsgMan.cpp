#include "pal/MsgMan.h"

#include <cstdio>
#include <utility>

namespace Pal {

namespace {
MsgMan::Handler& CurrentHandler() {
    static MsgMan::Handler handler;
    return handler;
}
}  // namespace

MsgMan::MsgMan(const char* category, const char* source, int line, const char* revision)
    : m_category(category), m_source(source), m_line(line), m_revision(revision) {}

MsgMan MsgMan::createObject(const char* category, const char* source, int line, const char* revision) {
    return MsgMan(category, source, line, revision);
}

void MsgMan::issueError(const char* text) const {
    const Handler& handler = CurrentHandler();
    if (handler) {
        handler(Report{m_category, m_source, m_line, m_revision, String(text)});
        return;
    }
    std::fputs(text ? text : "", stderr);
    std::fflush(stderr);
}

MsgMan::Handler MsgMan::setHandler(Handler handler) {
    return std::exchange(CurrentHandler(), std::move(handler));
}

}  // namespace Pal
