#pragma once

#include "pal/String.h"

class Olm_Attribute;
class Olm_Block;
class Olm_Pin;
class Olm_Signal;
class Olm_WizData;

namespace Pal {
class Stream;
}

// Writes model objects in the keyword text format of the wizard data files,
// one line per Stream::writeline. The dump is diagnostic: it adds lines the
// reader does not know (CurrentValue, SaveToKFZ of blocks, VCC of signals).
// With full false, lines and pieces that only repeat a default are left out.
// A null stream writes nothing. Internal to the library: the model classes'
// DumpToFile operations are the public face.
class Olm_DumpWriter {
public:
    Olm_DumpWriter(Pal::Stream* stream, bool full) : m_stream(stream), m_full(full) {}

    void Write(const Olm_WizData& data);
    void Write(const Olm_Block& block);
    void Write(const Olm_Pin& pin);
    void Write(const Olm_Signal& signal);
    void Write(const Olm_Attribute& attribute);

    // Writes the full dump of data to fileName ("olmwtest.dmp" in the working
    // directory when null). Nothing happens for a null container or a file
    // that does not open; nothing is reported.
    static void WriteFile(const Olm_WizData* data, const char* fileName);

private:
    void Line(const Pal::String& text);

    Pal::Stream* m_stream;
    bool m_full;
};
