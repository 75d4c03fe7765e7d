#include "engine/Olm_Engine.h"

#include "Olm_KfzJson.h"
#include "Olm_KfzNameIndex.h"

#include "engine/Olm_EngineProtocol.h"
#include "pal/File.h"
#include "pal/OutputFile.h"
#include "pal/StrUtil.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <numeric>
#include <string>
#include <string_view>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace P = OlmProtocol;

// Command words and subjects the engine answers.
constexpr const char* kFalse = OlmProtocol::kFalse;
constexpr const char* kTrue = OlmProtocol::kTrue;

bool Is(const char* text, const char* word) { return text && std::strcmp(text, word) == 0; }

// A name argument must be present and not empty.
bool IsName(const char* text) { return text && *text; }

bool ParseInt(const char* text, int& value) { return text && Pal::StrUtil::ParseInt(text, value); }

Pal::String Message(const char* what, const char* path, const std::string& problem) {
    Pal::String text;
    text.Format("%s '%s': %s", what, path ? path : "", problem.c_str());
    return text;
}

// A file descriptor, closed when it goes out of scope; -1 for none.
class ScopedFd {
public:
    explicit ScopedFd(int fd) : m_fd(fd) {}
    ScopedFd(const ScopedFd&) = delete;
    ScopedFd& operator=(const ScopedFd&) = delete;
    ~ScopedFd() {
        if (m_fd >= 0) ::close(m_fd);
    }
    int Get() const { return m_fd; }

private:
    int m_fd;
};

// Hands the message to the caller, when it asked for one; always false.
bool Fail(Pal::String* error, const Pal::String& text) {
    if (error) *error = text;
    return false;
}

// Appends an entry of the name to a list of the design.
template <typename Item>
Item& Append(std::vector<Item>& list, const char* name) {
    list.push_back(Item{});
    list.back().name = name;
    return list.back();
}

// The entry at an indexed position; null for none.
template <typename Item>
Item* At(std::vector<Item>& list, std::size_t position) {
    return position < list.size() ? &list[position] : nullptr;
}

// Stores an ordinary property of an owner that exists; reserved keys are refused.
template <typename Owner>
Pal::String AddProperty(Owner* owner, bool (*isReserved)(const char*), const char* key, const char* value) {
    if (!owner || isReserved(key)) return kFalse;
    Olm_KfzDesign::SetProperty(owner->properties, key, value);
    return kTrue;
}

}  // namespace

Olm_Engine::Olm_Engine()
    : m_blockIndex(std::make_unique<Olm_KfzNameIndex>()), m_signalIndex(std::make_unique<Olm_KfzNameIndex>()) {}

Olm_Engine::~Olm_Engine() = default;

const Olm_KfzDesign& Olm_Engine::GetDesign() const {
    SettleSignalOrder();
    return m_design;
}

Olm_KfzBlock* Olm_Engine::FindBlock(const char* name) { return At(m_design.blocks, m_blockIndex->Find(name)); }

Olm_KfzSignal* Olm_Engine::FindSignal(const char* name) { return At(m_design.nets, m_signalIndex->Find(name)); }

Olm_KfzBlock& Olm_Engine::AppendBlock(const char* name) {
    m_blockIndex->Add(name, m_design.blocks.size());
    return Append(m_design.blocks, name);
}

Olm_KfzSignal& Olm_Engine::AppendSignal(const char* name, bool declared) {
    m_signalIndex->Add(name, m_design.nets.size());
    m_signalStamps.push_back(m_nextStamp++);
    Olm_KfzSignal& signal = Append(m_design.nets, name);
    signal.declared = declared;
    return signal;
}

void Olm_Engine::PlaceSignalLast(std::size_t position) {
    if (position + 1 == m_design.nets.size() && !m_signalMovePending) return;  // already last
    m_signalStamps[position] = m_nextStamp++;
    m_signalMovePending = true;
}

void Olm_Engine::SettleSignalOrder() const {
    if (!m_signalMovePending) return;
    std::vector<std::size_t> order(m_design.nets.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(),
              [this](std::size_t a, std::size_t b) { return m_signalStamps[a] < m_signalStamps[b]; });
    std::vector<Olm_KfzSignal> nets;
    std::vector<std::uint64_t> stamps;
    nets.reserve(order.size());
    stamps.reserve(order.size());
    for (const std::size_t i : order) {
        nets.push_back(std::move(m_design.nets[i]));
        stamps.push_back(m_signalStamps[i]);
    }
    m_design.nets = std::move(nets);
    m_signalStamps = std::move(stamps);
    m_signalIndex->Rebuild(m_design.nets);
    m_signalMovePending = false;
}

void Olm_Engine::ResetIndexes() {
    m_blockIndex->Rebuild(m_design.blocks);
    m_signalIndex->Rebuild(m_design.nets);
    m_signalStamps.resize(m_design.nets.size());
    std::iota(m_signalStamps.begin(), m_signalStamps.end(), std::uint64_t{0});
    m_nextStamp = m_signalStamps.size();
    m_signalMovePending = false;
}

void Olm_Engine::ResetCursors() {
    for (Cursor& cursor : m_cursors) cursor = Cursor();
}

void Olm_Engine::NewDesign() {
    m_design.ClearDesign();
    ResetIndexes();
    ResetCursors();
}

Olm_KfzPin* Olm_Engine::FindPin(const char* pin, const char* block) {
    Olm_KfzBlock* owner = FindBlock(block);
    return owner ? Olm_KfzDesign::FindPin(*owner, pin) : nullptr;
}

Pal::String Olm_Engine::Execute(const char* cmd, const char* a1, const char* a2, const char* a3, const char* a4,
                                const char* a5) {
    if (Is(cmd, P::kGet)) return Query(a1, a2, a3, a4);
    if (Is(cmd, P::kGetFirst)) return Iterate(true, a1, a2, a3);
    if (Is(cmd, P::kGetNext)) return Iterate(false, a1, a2, a3);
    if (Is(cmd, P::kSet)) return Set(a1, a2, a3, a4);
    if (Is(cmd, P::kAdd)) return Add(a1, a2, a3, a4, a5);
    if (Is(cmd, P::kConnect)) return Connect(a1, a2, a3, a4);
    return kFalse;
}

Pal::String Olm_Engine::Query(const char* what, const char* a2, const char* a3, const char* a4) {
    if (Is(what, P::kKfzVersion)) return m_design.version;
    if (Is(what, P::kFamily)) return m_design.device.family;
    if (Is(what, P::kPrimtype)) {
        if (!a2) return kFalse;
        const Olm_KfzBlock* block = FindBlock(a2);
        return block ? block->primType : Pal::String();
    }
    if (Is(what, P::kBlkProp)) {
        if (!a2 || !a3) return kFalse;
        const Olm_KfzBlock* block = FindBlock(a2);
        return block ? Olm_KfzDesign::BlockPropertyValue(*block, a3) : Pal::String();
    }
    if (Is(what, P::kPinDir) || Is(what, P::kSignal)) {
        if (!a2 || !a3) return kFalse;
        const Olm_KfzPin* pin = FindPin(a2, a3);
        if (!pin) return Pal::String();
        return Is(what, P::kPinDir) ? pin->direction : pin->signal;
    }
    if (Is(what, P::kPinProp)) {
        if (!a2 || !a3 || !a4) return kFalse;
        const Olm_KfzPin* pin = FindPin(a2, a3);
        return pin ? Olm_KfzDesign::PinPropertyValue(*pin, a4) : Pal::String();
    }
    if (Is(what, P::kSigProp)) {
        if (!a2 || !a3) return kFalse;
        const Olm_KfzSignal* signal = FindSignal(a2);
        return signal ? Olm_KfzDesign::SignalPropertyValue(*signal, a3) : Pal::String();
    }
    return kFalse;
}

Pal::String Olm_Engine::Iterate(bool first, const char* what, const char* a2, const char* a3) {
    CursorKind kind;
    int owners = 0;
    if (Is(what, P::kBlock)) {
        kind = kBlockCursor;
    } else if (Is(what, P::kSignal)) {
        kind = kSignalCursor;
    } else if (Is(what, P::kPin)) {
        kind = kPinCursor;
        owners = 1;
    } else if (Is(what, P::kBlkProp)) {
        kind = kBlkPropCursor;
        owners = 1;
    } else if (Is(what, P::kSigProp)) {
        kind = kSigPropCursor;
        owners = 1;
    } else if (Is(what, P::kPinProp)) {
        kind = kPinPropCursor;
        owners = 2;
    } else {
        return kFalse;
    }
    if ((owners >= 1 && !a2) || (owners >= 2 && !a3)) return kFalse;

    Cursor& cursor = m_cursors[kind];
    if (first) {
        cursor = Cursor();
        cursor.owner1 = owners >= 1 ? a2 : "";
        cursor.owner2 = owners >= 2 ? a3 : "";
        switch (kind) {
        case kBlockCursor:
            for (const auto& block : m_design.blocks) cursor.names.push_back(block.name);
            break;
        case kSignalCursor:
            SettleSignalOrder();
            for (const auto& signal : m_design.nets) cursor.names.push_back(signal.name);
            break;
        case kPinCursor:
            if (const Olm_KfzBlock* block = FindBlock(a2)) {
                for (const auto& pin : block->pins) cursor.names.push_back(pin.name);
            }
            break;
        case kBlkPropCursor:
            if (const Olm_KfzBlock* block = FindBlock(a2)) {
                cursor.names = Olm_KfzDesign::BlockPropertyNames(*block);
            }
            break;
        case kPinPropCursor:
            if (const Olm_KfzPin* pin = FindPin(a2, a3)) cursor.names = Olm_KfzDesign::PinPropertyNames(*pin);
            break;
        case kSigPropCursor:
            if (const Olm_KfzSignal* signal = FindSignal(a2)) {
                cursor.names = Olm_KfzDesign::SignalPropertyNames(*signal);
            }
            break;
        case kCursorCount:
            break;
        }
    } else {
        // getnext continues only the iteration of the same owner.
        if ((owners >= 1 && cursor.owner1.Compare(a2, Pal::String::kNoCase) != 0) ||
            (owners >= 2 && cursor.owner2.Compare(a3, Pal::String::kNoCase) != 0)) {
            return Pal::String();
        }
    }
    if (cursor.next >= cursor.names.size()) return Pal::String();
    return cursor.names[cursor.next++];
}

Pal::String Olm_Engine::Set(const char* what, const char* a2, const char* a3, const char* a4) {
    if (Is(what, P::kKfzVersion)) {
        if (!a2) return kFalse;
        m_design.version = a2;
        return kTrue;
    }
    if (Is(what, P::kPinWidth) || Is(what, P::kVccPin) || Is(what, P::kGndPin) || Is(what, P::kHasBus)) {
        if (!a2 || !a3) return kFalse;
        Olm_KfzPin* pin = FindPin(a2, a3);
        if (!pin) return kFalse;
        if (Is(what, P::kPinWidth)) {
            if (!a4) return kFalse;
            pin->hasWidth = true;
            pin->width = a4;
        } else if (Is(what, P::kVccPin)) {
            pin->isVcc = true;
        } else if (Is(what, P::kGndPin)) {
            pin->isGnded = true;
        } else {
            pin->hasBus = true;
        }
        return kTrue;
    }
    if (Is(what, P::kExternalSig) || Is(what, P::kBus) || Is(what, P::kGndSig) || Is(what, P::kVccSig)) {
        if (!a2) return kFalse;
        Olm_KfzSignal* signal = FindSignal(a2);
        if (!signal) return kFalse;
        if (Is(what, P::kExternalSig)) {
            if (!a3) return kFalse;
            signal->isExternal = true;
            signal->externalName = a3;
        } else if (Is(what, P::kBus)) {
            int width = 0;
            if (!ParseInt(a3, width)) return kFalse;
            signal->isBus = true;
            signal->busWidth = width;
        } else if (Is(what, P::kGndSig)) {
            signal->isGnded = true;
        } else {
            signal->isVcc = true;
        }
        return kTrue;
    }
    return kFalse;
}

Pal::String Olm_Engine::Add(const char* what, const char* a2, const char* a3, const char* a4, const char* a5) {
    if (Is(what, P::kBlock)) {
        if (!IsName(a2) || !a3 || !a4) return kFalse;
        Olm_KfzBlock* block = FindBlock(a2);
        if (!block) block = &AppendBlock(a2);
        block->primType = a3;
        block->count = a4;
        return kTrue;
    }
    if (Is(what, P::kBlkProp)) {
        if (!a2 || !IsName(a3) || !a4) return kFalse;
        return AddProperty(FindBlock(a2), &Olm_KfzDesign::IsReservedBlockKey, a3, a4);
    }
    if (Is(what, P::kPin)) {
        // Direction first, then pin and block.
        if (!a2 || !IsName(a3) || !a4) return kFalse;
        Olm_KfzBlock* block = FindBlock(a4);
        if (!block) return kFalse;
        Olm_KfzPin* pin = Olm_KfzDesign::FindPin(*block, a3);
        if (!pin) pin = &Append(block->pins, a3);
        pin->direction = a2;
        return kTrue;
    }
    if (Is(what, P::kPinProp)) {
        if (!a2 || !a3 || !IsName(a4) || !a5) return kFalse;
        return AddProperty(FindPin(a2, a3), &Olm_KfzDesign::IsReservedPinKey, a4, a5);
    }
    if (Is(what, P::kSignal)) {
        if (!IsName(a2)) return kFalse;
        Olm_KfzSignal* signal = FindSignal(a2);
        if (!signal) {
            AppendSignal(a2, true);
        } else if (!signal->declared) {
            // Created by a connection: it takes its place now.
            signal->declared = true;
            PlaceSignalLast(static_cast<std::size_t>(signal - m_design.nets.data()));
        }
        return kTrue;
    }
    if (Is(what, P::kSigProp)) {
        if (!a2 || !IsName(a3) || !a4) return kFalse;
        return AddProperty(FindSignal(a2), &Olm_KfzDesign::IsReservedSignalKey, a3, a4);
    }
    return kFalse;
}

Pal::String Olm_Engine::Connect(const char* what, const char* a2, const char* a3, const char* a4) {
    if (!Is(what, P::kSignal) || !IsName(a2) || !a3 || !a4) return kFalse;
    Olm_KfzPin* pin = FindPin(a3, a4);
    if (!pin) return kFalse;
    // Blocks are saved before signals, so the signal may not exist yet.
    if (!FindSignal(a2)) AppendSignal(a2, false);
    pin->signal = a2;
    return kTrue;
}

bool Olm_Engine::Load(const char* path, Pal::String* error) {
    if (!path || !*path) return Fail(error, "Cannot load a design file: no file name given");
    std::string content;
    Pal::InputCheck check;
    bool read = false;
    try {
        read = Pal::File::readInput(path, kMaxDesignFileBytes, content, check);
    } catch (const std::bad_alloc&) {
        return Fail(error, Message("Cannot load design file", path, Olm_KfzJson::kOutOfMemory));
    }
    if (!read) {
        using Problem = Pal::InputCheck::Problem;
        switch (check.problem) {
        case Problem::kNotRegular:
            return Fail(error, Message("Cannot open design file", path, std::string("it is ") + check.kind));
        case Problem::kTooLarge:
            return Fail(error, Message("Cannot open design file", path,
                                       "it is too large (" + std::to_string(check.size) + " bytes; the limit is " +
                                           std::to_string(check.limit) + " bytes)"));
        case Problem::kReadError:
            return Fail(error, Message("Cannot read design file", path, "read error"));
        default:
            return Fail(error, Message("Cannot open design file", path, std::strerror(check.error)));
        }
    }
    return LoadText(content, path, error);
}

bool Olm_Engine::LoadText(const std::string& content, const char* name, Pal::String* error) {
    const char* path = name ? name : "";
    if (content.size() > kMaxDesignFileBytes) {
        return Fail(error, Message("Cannot open design file", path,
                                   "it is too large (" + std::to_string(content.size()) + " bytes; the limit is " +
                                       std::to_string(kMaxDesignFileBytes) + " bytes)"));
    }
    std::string problem;
    {
        Olm_KfzDesign loaded;
        if (Olm_KfzJson::Read(content, loaded, problem)) {
            m_design = std::move(loaded);
            ResetIndexes();
            ResetCursors();
            return true;
        }
    }
    return Fail(error, Message("Cannot load design file", path, problem));
}

bool Olm_Engine::WriteBytes(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool Olm_Engine::SaveText(std::string& text, const char* name, Pal::String* error) {
    std::string problem;
    SettleSignalOrder();
    text.clear();
    if (!Olm_KfzJson::Write(m_design, text, problem)) {
        return Fail(error, Message("Cannot save design file", name ? name : "", problem));
    }
    return true;
}

bool Olm_Engine::Save(const char* path, Pal::String* error) {
    if (!path || !*path) return Fail(error, "Cannot save a design file: no file name given");
    std::string text;
    if (!SaveText(text, path, error)) return false;

    const std::filesystem::path target(path);
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    const std::string targetName = target.filename().string();
    std::string tempName = (folder / Pal::OutputFile::TemporaryTemplate(targetName)).string();
    const int fd = ::mkstemp(tempName.data());
    if (fd < 0) {
        return Fail(error, Message("Cannot save design file", path,
                                   std::string("cannot create a temporary file: ") + std::strerror(errno)));
    }
    // The temporary file stays locked until it has been renamed, through a
    // second descriptor that outlives the close below: a save of the same
    // file elsewhere then leaves it alone (Pal::OutputFile::RemoveStaleTemporaries). A lock
    // that cannot be taken only means that no other save removes the file.
    const ScopedFd lock(::dup(fd));
    if (lock.Get() >= 0) ::flock(lock.Get(), LOCK_EX | LOCK_NB);

    // The file gets the permissions of the file it replaces, or the usual
    // permissions of a new file.
    struct stat existing {};
    mode_t mode;
    if (::stat(path, &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    std::string failure;
    if (::fchmod(fd, mode) != 0) {
        failure = std::string("cannot set permissions: ") + std::strerror(errno);
    } else if (errno = 0; !WriteBytes(fd, text.data(), text.size())) {
        failure = errno != 0 ? std::string("write failed: ") + std::strerror(errno) : std::string("write failed");
    } else if (m_flushOnSave && ::fsync(fd) != 0) {
        failure = std::string("cannot flush to disk: ") + std::strerror(errno);
    }
    if (::close(fd) != 0 && failure.empty()) failure = std::string("close failed: ") + std::strerror(errno);
    if (failure.empty() && std::rename(tempName.c_str(), path) != 0) {
        failure = std::string("cannot replace the file: ") + std::strerror(errno);
    }
    if (!failure.empty()) {
        ::unlink(tempName.c_str());
        return Fail(error, Message("Cannot save design file", path, failure));
    }

    // Make the rename itself durable.
    if (m_flushOnSave) {
        const ScopedFd dirFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dirFd.Get() >= 0) ::fsync(dirFd.Get());
    }
    Pal::OutputFile::RemoveStaleTemporaries(folder.string(), targetName);
    return true;
}
