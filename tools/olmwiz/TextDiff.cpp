#include "TextDiff.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace olmwiz {

namespace {

using Lines = std::vector<std::string_view>;

// The lines of a text, each with its line end when it has one.
Lines SplitLines(const std::string& text) {
    Lines lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string::npos ? text.size() : end + 1;
        lines.emplace_back(text.data() + start, next - start);
        start = next;
    }
    return lines;
}

enum class Op { kKeep, kRemove, kAdd };

// Beyond this many differences the middle is shown as all removed and all
// added: the search's memory grows with the square of the differences.
constexpr long kMaxEdits = 1000;

// The shortest edit script turning a[0..n) into b[0..m) (Myers, with the
// furthest reach of every diagonal kept per step for the walk back).
std::vector<Op> EditScript(const std::string_view* a, long n, const std::string_view* b, long m) {
    std::vector<Op> script;
    const long max = n + m;
    const long limit = std::min(max, kMaxEdits);
    std::vector<long> v(static_cast<std::size_t>(2 * limit + 3), 0);
    std::vector<std::vector<long>> trace;
    const auto at = [&](long k) -> long& { return v[static_cast<std::size_t>(k + limit + 1)]; };
    long found = -1;
    for (long d = 0; d <= limit && found < 0; ++d) {
        for (long k = -d; k <= d; k += 2) {
            long x = (k == -d || (k != d && at(k - 1) < at(k + 1))) ? at(k + 1) : at(k - 1) + 1;
            long y = x - k;
            while (x < n && y < m && a[x] == b[y]) {
                ++x;
                ++y;
            }
            at(k) = x;
            if (x >= n && y >= m) {
                found = d;
                break;
            }
        }
        trace.push_back(v);
    }
    if (found < 0) {
        script.assign(static_cast<std::size_t>(n), Op::kRemove);
        script.insert(script.end(), static_cast<std::size_t>(m), Op::kAdd);
        return script;
    }
    long x = n;
    long y = m;
    for (long d = found; d > 0; --d) {
        const std::vector<long>& prev = trace[static_cast<std::size_t>(d - 1)];
        const auto before = [&](long k) { return prev[static_cast<std::size_t>(k + limit + 1)]; };
        const long k = x - y;
        const bool down = k == -d || (k != d && before(k - 1) < before(k + 1));
        const long prevK = down ? k + 1 : k - 1;
        const long prevX = before(prevK);
        const long prevY = prevX - prevK;
        while (x > prevX && y > prevY) {
            script.push_back(Op::kKeep);
            --x;
            --y;
        }
        script.push_back(down ? Op::kAdd : Op::kRemove);
        x = prevX;
        y = prevY;
    }
    while (x > 0 && y > 0) {
        script.push_back(Op::kKeep);
        --x;
        --y;
    }
    std::reverse(script.begin(), script.end());
    return script;
}

std::string Range(std::size_t first, std::size_t count) {
    // A range of no lines names the line before it.
    const std::size_t shown = count == 0 ? first : first + 1;
    return std::to_string(shown) + (count == 1 ? "" : "," + std::to_string(count));
}

}  // namespace

std::string TextDiff::Unified(const std::string& before, const std::string& after, const std::string& name,
                              std::size_t maxLines) {
    if (before == after) return {};
    std::string out = "--- " + name + " (on disk)\n+++ " + name + " (regenerated)\n";
    if (before.find('\0') != std::string::npos || after.find('\0') != std::string::npos)
        return out + "Binary files differ\n";
    const Lines a = SplitLines(before);
    const Lines b = SplitLines(after);

    // The shared start and end need no search.
    std::size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
    std::size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head && a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    std::vector<Op> script(head, Op::kKeep);
    const std::vector<Op> middle = EditScript(a.data() + head, static_cast<long>(a.size() - head - tail),
                                              b.data() + head, static_cast<long>(b.size() - head - tail));
    script.insert(script.end(), middle.begin(), middle.end());
    script.insert(script.end(), tail, Op::kKeep);

    // Hunks: the changes with up to three lines of context around them,
    // joined when their contexts meet.
    constexpr std::size_t kContext = 3;
    std::vector<std::string> body;
    std::size_t i = 0;
    std::size_t lineA = 0;  // line numbers at script position i
    std::size_t lineB = 0;
    const auto line = [](char mark, std::string_view text) {
        std::string shown(1, mark);
        shown += text;
        if (shown.back() != '\n') shown += "\n\\ No newline at end of file\n";
        return shown;
    };
    while (i < script.size()) {
        if (script[i] == Op::kKeep) {
            ++i;
            ++lineA;
            ++lineB;
            continue;
        }
        // A change at i: the hunk starts up to three kept lines earlier.
        const std::size_t back = std::min({kContext, lineA, lineB, i});
        std::size_t start = i - back;
        std::size_t ia = lineA - back;
        std::size_t ib = lineB - back;
        std::size_t end = i;
        for (std::size_t kept = 0; end < script.size(); ++end) {
            kept = script[end] == Op::kKeep ? kept + 1 : 0;
            if (kept > 2 * kContext) break;
        }
        // Trailing context: at most three kept lines after the last change.
        std::size_t last = end;
        while (last > start && script[last - 1] == Op::kKeep) --last;
        end = std::min(script.size(), last + kContext);
        std::string hunk;
        std::size_t countA = 0;
        std::size_t countB = 0;
        std::vector<std::string> lines;
        for (std::size_t p = start, pa = ia, pb = ib; p < end; ++p) {
            if (script[p] == Op::kKeep) {
                lines.push_back(line(' ', a[pa++]));
                pb++;
                ++countA;
                ++countB;
            } else if (script[p] == Op::kRemove) {
                lines.push_back(line('-', a[pa++]));
                ++countA;
            } else {
                lines.push_back(line('+', b[pb++]));
                ++countB;
            }
        }
        body.push_back("@@ -" + Range(ia, countA) + " +" + Range(ib, countB) + " @@\n");
        body.insert(body.end(), lines.begin(), lines.end());
        lineA = ia + countA;
        lineB = ib + countB;
        i = end;
    }
    std::size_t shown = 0;
    for (const std::string& text : body) {
        if (maxLines != 0 && shown == maxLines) {
            out += "... " + std::to_string(body.size() - shown) + " more lines\n";
            break;
        }
        out += text;
        ++shown;
    }
    return out;
}

}  // namespace olmwiz
