#include "datafiles/Olm_Data.h"

#include "datafiles/Olm_DataFileReader.h"
#include "datafiles/Olm_DataTypes.h"
#include "devinfo/DevPart.h"
#include "model/Olm_WizData.h"
#include "pal/File.h"
#include "pal/MsgMan.h"
#include "pal/Stream.h"
#include "shared/Olm_Constants.h"
#include "shared/Olm_WizType.h"

#include <optional>

namespace {

constexpr const char* kCategory = "DesignEntry";
constexpr const char* kSource = "../s/WizData";
constexpr const char* kRevision = "$revision 1.1$";

constexpr const char* kDefaultDumpName = "olmwtest.dmp";

// line is the caller's source line (see Olm_DataFileReader::IssueError).
void IssueError(const Pal::String& text, int line = __builtin_LINE()) {
    Pal::MsgMan::createObject(kCategory, kSource, line, kRevision).issueError(text);
}

}  // namespace

const char* Olm_Data::DataFileName(const Pal::String& wizType, const Pal::String& family) {
    using OlmConst::kDevDsp, OlmConst::kDevHsx, OlmConst::kDevHsx11, OlmConst::kDevSsio, OlmConst::kDevTkl;
    if (Olm_WizType::HasPrefix(wizType, OlmConst::kWizPrefixTkl)) return kDevTkl;
    if (Olm_WizType::HasPrefix(wizType, OlmConst::kWizPrefixHsx))
        return family.Compare(OlmConst::kFamilyKorvo4, Pal::String::kNoCase) == 0 ? kDevHsx11 : kDevHsx;
    if (Olm_WizType::HasPrefix(wizType, OlmConst::kWizPrefixDsp)) return kDevDsp;
    if (Olm_WizType::HasPrefix(wizType, OlmConst::kWizPrefixSsi)) return kDevSsio;
    return nullptr;
}

Olm_Data::Olm_Data() = default;

Olm_Data::~Olm_Data() { delete m_wizData; }

bool Olm_Data::GetDataFileName(const char* fileName, Pal::String& path) {
    DevPart part(nullptr, nullptr, nullptr);
    const char* found = part.getdatafilename(0, fileName, 1, -1);
    if (!found) return false;
    path = found;  // the device-data library keeps its own text
    return true;
}

bool Olm_Data::ReadDataFile(Pal::String wizType, Pal::String family) {
    delete m_wizData;
    m_wizData = nullptr;

    Pal::String text;
    const char* fileName = DataFileName(wizType, family);
    // Beside the built-in table: the data types that wizard plugins registered.
    const std::optional<Olm_DataTypes::Entry> registered =
        fileName ? std::nullopt : Olm_DataTypes::Find(wizType.str());
    if (registered) fileName = registered->file.c_str();
    if (!fileName) {
        text.Format("The specified wizard '%s' is not a valid wizard type", wizType.c_str());
        IssueError(text);
        return false;
    }

    Pal::String path;
    if (!GetDataFileName(fileName, path)) {
        text.Format(
            "Could not find the installed Olm Wizard datafile '%s'.  Please check that this file is installed "
            "correctly.\n",
            fileName);
        IssueError(text);
        return false;
    }

    Olm_DataFileReader reader;
    if (!reader.Open(path.c_str())) {
        text.Format(
            "Could not open the %s Olm Wizard datafile '%s'.  Please check that this file is installed correctly.\n",
            wizType.c_str(), path.c_str());
        IssueError(text);
        return false;
    }

    m_wizData = new Olm_WizData();
    if (!reader.ReadFile(m_wizData)) {
        text.Format(
            "An error occured in reading the Olm Wizard datafile '%s'.  Please check that this file is installed "
            "correctly.\n",
            path.c_str());
        IssueError(text);
        return false;
    }
    return true;
}

void Olm_Data::DumpDataFile(const char* fileName) { DumpDataFile(m_wizData, fileName); }

void Olm_Data::DumpDataFile(Olm_WizData* wizData, const char* fileName) {
    if (!wizData) return;
    Pal::String path;
    if (fileName) {
        path = fileName;
    } else {
        path = Pal::File::getcwd();
        if (!path.IsEmpty()) path += "/";
        path += kDefaultDumpName;
    }
    Pal::Stream* stream = Pal::File::open(path.c_str(), Pal::File::kWriteTruncate, true);
    if (!stream) return;
    wizData->DumpToFile(stream, true);
    Pal::File::close(stream);
}
