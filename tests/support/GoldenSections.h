#pragma once

// A golden file of several named texts. Each text starts after a line
// "==== NAME" and runs to the next such line or the end of the file; what
// stands before the first is the file's head (comments, or the input the
// test reads). Check compares a text with its golden copy; with the
// environment variable OLM_UPDATE_GOLDEN set it stores the text instead, and
// the file is written anew with its head when the object dies.

#include "CaseFiles.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace olmtest {

class GoldenSections {
public:
    explicit GoldenSections(std::string path) : m_path(std::move(path)) {
        const std::string text = ReadFile(m_path);
        std::size_t at = text.rfind("==== ", 0) == 0 ? 0 : text.find("\n==== ");
        head = text.substr(0, at == std::string::npos ? text.size() : at + (at > 0));
        while (at != std::string::npos) {
            const std::size_t nameAt = at + (at > 0) + 5, bodyAt = text.find('\n', nameAt);
            if (bodyAt == std::string::npos) break;
            at = text.find("\n==== ", bodyAt);
            const std::size_t size = at == std::string::npos ? std::string::npos : at - bodyAt;
            m_texts.emplace_back(text.substr(nameAt, bodyAt - nameAt), text.substr(bodyAt + 1, size));
        }
    }
    ~GoldenSections() {
        if (!m_update) return;
        std::ofstream out(m_path, std::ios::binary);
        out << head;
        for (const auto& [name, text] : m_texts) out << "==== " << name << "\n" << text;
    }
    GoldenSections(const GoldenSections&) = delete;
    GoldenSections& operator=(const GoldenSections&) = delete;

    void Check(const std::string& name, const std::string& actual) {
        auto it = m_texts.begin();
        while (it != m_texts.end() && it->first != name) ++it;
        if (std::getenv("OLM_UPDATE_GOLDEN")) {
            m_update = true;
            if (it == m_texts.end()) it = m_texts.emplace(it, name, "");
            it->second = actual;
        } else {
            ASSERT_NE(it, m_texts.end()) << "no text '" << name << "' in " << m_path;
            EXPECT_EQ(actual, it->second) << name << " differs from " << m_path;
        }
    }

    // Checks a listing of answers, the named text: each line is "QUESTION =>
    // ANSWER", or "QUESTION =>" for an empty answer, and answer(QUESTION) must
    // give ANSWER; lines starting with "#" are comments.
    template <typename Answer>
    void CheckAnswers(const std::string& name, Answer answer) {
        std::istringstream lines(Text(name));
        std::string listed;
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind('#', 0) != 0) {
                const std::string question = line.substr(0, line.find(" =>")), given = answer(question);
                line = question + (given.empty() ? " =>" : " => " + given);
            }
            listed += line + "\n";
        }
        Check(name, listed);
    }

    // The golden copy of a text; empty when there is none.
    std::string Text(const std::string& name) const {
        for (const auto& [n, text] : m_texts)
            if (n == name) return text;
        return {};
    }

    std::string head;

private:
    std::string m_path;
    std::vector<std::pair<std::string, std::string>> m_texts;
    bool m_update = false;
};

}  // namespace olmtest
