#include "datafiles/Olm_DumpWriter.h"

#include "model/Olm_WizData.h"
#include "pal/File.h"
#include "pal/Stream.h"

namespace {

constexpr const char* kDefaultDumpFile = "olmwtest.dmp";

const char* TrueFalse(bool value) { return value ? "TRUE" : "FALSE"; }

Pal::String Formatted(const char* fmt, const char* text) {
    Pal::String line;
    line.Format(fmt, text);
    return line;
}

}  // namespace

void Olm_DumpWriter::Line(const Pal::String& text) { m_stream->writeline(text); }

void Olm_DumpWriter::Write(const Olm_WizData& data) {
    if (!m_stream) return;
    Line(Formatted("WizData: %s;", data.GetWizType()));
    Line(Formatted("  Version: %s;", data.GetVersion()));
    Line(Formatted("  WizType: %s;", data.GetWizType()));
    for (const Olm_Block* block : data.GetBlkList()) Write(*block);
    for (const Olm_Signal* signal : data.GetSigList()) Write(*signal);
    Line("EndWizData;");
}

void Olm_DumpWriter::Write(const Olm_Block& block) {
    if (!m_stream) return;
    Line(Formatted("  Block: %s;", block.GetName()));
    Line(Formatted("    Primitive: %s;", block.GetPrimType()));
    const Olm_StrArray& flags = block.GetFlagList();
    if (!flags.IsEmpty()) {
        Pal::String line("    BlkFlags: ");
        for (int i = 0; i < flags.GetSize(); ++i) {
            if (i > 0) line += "; ";
            line += flags.GetAt(i);
        }
        line += ";";
        Line(line);
    }
    if (!block.IsActive()) {
        Line("    SaveToKFZ: FALSE;");
    } else if (m_full) {
        Line("    SaveToKFZ: TRUE;");
    }
    for (const Olm_Pin* pin : block.GetPinList()) Write(*pin);
    for (const Olm_Attribute* attribute : block.GetAttributeList()) Write(*attribute);
    Line("  EndBlock;");
}

void Olm_DumpWriter::Write(const Olm_Pin& pin) {
    if (!m_stream) return;
    Pal::String line;
    const Pal::String& direction = pin.GetDirection();
    if (direction.Compare("IN", Pal::String::kNoCase) == 0) {
        line = Formatted("    InputPin: %s;", pin.GetName());
    } else if (direction.Compare("OUT", Pal::String::kNoCase) == 0) {
        line = Formatted("    OutputPin: %s;", pin.GetName());
    } else if (direction.Compare("INOUT", Pal::String::kNoCase) == 0) {
        line = Formatted("    BidirPin: %s;", pin.GetName());
    } else {
        line.Format("    %s Pin: %s;", direction.c_str(), pin.GetName().c_str());
    }

    Pal::String piece;
    if (pin.GetWidth() != 1) {
        line += piece.Format(" Width=[%d:%d];", pin.GetStartBit(), pin.GetEndBit());
    } else if (m_full) {
        line += " Width=1;";
    }
    if (!pin.GetSigName().IsEmpty()) line += Formatted(" Signal=%s;", pin.GetSigName());
    if (pin.HasBus() || m_full) line += Formatted(" HasBus=%s;", TrueFalse(pin.HasBus()));
    if (pin.IsGrounded() || m_full) line += Formatted(" Grounded=%s;", TrueFalse(pin.IsGrounded()));
    if (pin.IsVcc() || m_full) line += Formatted(" VCC=%s;", TrueFalse(pin.IsVcc()));
    const Olm_StrArray& flags = pin.GetFlagList();
    for (int i = 0; i < flags.GetSize(); ++i) line += Formatted(" Flag=%s;", flags.GetAt(i));
    if (!pin.IsActive() || m_full) line += Formatted(" SaveToKFZ=%s;", TrueFalse(pin.IsActive()));
    Line(line);

    for (const Olm_Attribute* attribute : pin.GetAttributeList()) Write(*attribute);
}

void Olm_DumpWriter::Write(const Olm_Signal& signal) {
    if (!m_stream) return;
    Line(Formatted("  Signal: %s;", signal.GetName()));
    if (signal.IsExternal()) {
        Line(Formatted("    External: %s;", signal.GetDirection()));
    } else if (m_full) {
        Line("    External: FALSE;");
    }
    if (signal.IsBus()) {
        Pal::String line;
        Line(line.Format("    Bus: %d;", signal.GetWidth()));
    } else if (m_full) {
        Line("    Bus: FALSE;");
    }
    if (signal.IsGrounded() || m_full) Line(Formatted("    Grounded: %s;", TrueFalse(signal.IsGrounded())));
    if (signal.IsVcc() || m_full) Line(Formatted("    VCC: %s;", TrueFalse(signal.IsVcc())));
    if (!signal.IsActive() || m_full) Line(Formatted("    SaveToKFZ: %s;", TrueFalse(signal.IsActive())));
    for (const Olm_Attribute* attribute : signal.GetAttributeList()) Write(*attribute);
    Line("  EndSignal;");
}

void Olm_DumpWriter::Write(const Olm_Attribute& attribute) {
    if (!m_stream) return;
    Line(Formatted("    Attribute: %s;", attribute.GetName()));
    Line(Formatted("      DefaultValue: %s;", attribute.GetDefaultValue()));
    Pal::String values("      PossibleValues: ");
    const Olm_StrArray& possible = attribute.GetPossibleValues();
    for (int i = 0; i < possible.GetSize(); ++i) {
        if (i > 0) values += ",";
        values += possible.GetAt(i);
    }
    values += ";";
    Line(values);
    if (m_full) Line(Formatted("      CurrentValue: %s;", attribute.GetCurrentValue()));
    Line(Formatted("      IsModifiable: %s;", TrueFalse(attribute.IsModifiable())));
    Line(Formatted("      SaveToKFZ: %s;", TrueFalse(attribute.IsActive())));
    Line("    EndAttribute;");
}

void Olm_DumpWriter::WriteFile(const Olm_WizData* data, const char* fileName) {
    if (!data) return;
    Pal::Stream* stream = Pal::File::open(fileName ? fileName : kDefaultDumpFile, Pal::File::kWriteTruncate, true);
    if (!stream) return;
    Olm_DumpWriter(stream, true).Write(*data);
    Pal::File::close(stream);
}
