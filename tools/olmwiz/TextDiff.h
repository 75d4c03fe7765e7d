#pragma once

#include <cstddef>
#include <string>

namespace olmwiz {

// A unified diff of two texts, line by line, with three lines of context,
// made by a shortest-edit-script search (Myers) over what lies between the
// lines the texts share at their start and end:
//   --- NAME (on disk)
//   +++ NAME (regenerated)
//   @@ -first,count +first,count @@
//    context / -removed / +added
// A last line without a line end gets "\ No newline at end of file" after
// it. maxLines (0: no limit) bounds the lines after the two headers; the
// lines left out are counted in a last line "... N more lines". Texts that
// hold a NUL byte are not shown: "Binary files differ". Equal texts: "".
class TextDiff {
public:
    static std::string Unified(const std::string& before, const std::string& after, const std::string& name,
                               std::size_t maxLines);
};

}  // namespace olmwiz
