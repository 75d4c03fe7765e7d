#pragma once

#include "engine/EngineExport.h"
#include "engine/Olm_KfzDesign.h"
#include "pal/String.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Olm_KfzNameIndex;

// The design-file engine: holds one design in memory, answers the text
// commands of the wizards' design-file bridge, and loads and saves the design
// as a KFZ file (JSON, see docs/kfz-format.md).
//
// Command results:
//   - a query returns its value as text; a query about a block, pin, signal
//     or property that does not exist returns "";
//   - getfirst/getnext return one name per call and "" at the end; getnext
//     with other owner arguments than the getfirst before it returns "";
//   - a write returns "TRUE" on success and "FALSE" on failure;
//   - "FALSE" also answers an unknown command and a command missing one of
//     its arguments (a null pointer where it needs text).
// Writes that fail: naming a block, pin or signal that does not exist (except
// "connect signal", which creates the signal), an empty block, pin, signal or
// property name, a reserved key written as an ordinary property, and a bus
// width that is not a decimal number.
// "connect signal" creates a signal that does not exist yet; the first
// "add signal" of it then moves it to the end of the signal list, so that
// signals stand in the order in which they were added.
// Each kind (block, signal, pin, blkprop, pinprop, sigprop) has a cursor of
// its own that no other command moves; getfirst takes a snapshot of the names
// to walk. Adding what exists updates it in place; no command removes anything.
class OLM_ENGINE_API Olm_Engine {
public:
    Olm_Engine();
    Olm_Engine(const Olm_Engine&) = delete;
    Olm_Engine& operator=(const Olm_Engine&) = delete;
    virtual ~Olm_Engine();

    virtual Pal::String Execute(const char* cmd, const char* a1, const char* a2, const char* a3, const char* a4,
                                const char* a5);

    // Device settings of the design ("get family" answers the family).
    const Pal::String& GetFamily() const { return m_design.device.family; }
    void SetFamily(Pal::String family) { m_design.device.family = family; }
    const Pal::String& GetPart() const { return m_design.device.part; }
    void SetPart(Pal::String part) { m_design.device.part = part; }
    const Pal::String& GetDevice() const { return m_design.device.device; }
    void SetDevice(Pal::String device) { m_design.device.device = device; }
    const Pal::String& GetSpeed() const { return m_design.device.speed; }
    void SetSpeed(Pal::String speed) { m_design.device.speed = speed; }

    // The design as it stands, for reading.
    const Olm_KfzDesign& GetDesign() const;

    // Starts a fresh design: version, blocks and signals are emptied and every
    // iteration ends; the device settings stay.
    void NewDesign();

    // Largest design file loaded (64 MiB): a design of ten thousand blocks
    // takes some seventeen megabytes, and loading takes about seven times
    // the file's size in memory. A larger file is refused before it is read.
    static constexpr std::uint64_t kMaxDesignFileBytes = 64ull << 20;

    // Replaces the design with the one in the file. On failure the design is
    // left as it was, the result is false and error (when given) receives a
    // message naming the file and the problem. Only a regular file of at most
    // kMaxDesignFileBytes is read; a folder, FIFO or device is refused
    // without waiting, and so is a file in which a key appears twice in one
    // object. Running out of memory while loading is a failure like these.
    bool Load(const char* path, Pal::String* error = nullptr);
    // Load from the bytes of a design file already in memory; name stands
    // for the file in messages. The same checks and results as Load.
    bool LoadText(const std::string& content, const char* name, Pal::String* error = nullptr);
    // Writes the design to the file atomically: a temporary file in the same
    // folder is written, flushed to disk and renamed over the target. On
    // failure the earlier file is untouched and the result is false.
    bool Save(const char* path, Pal::String* error = nullptr);
    // The bytes Save writes for the design as it stands, into text, so that
    // a caller can compare them with the file already there and leave an
    // unchanged file alone. name stands for the file in messages. On failure
    // the result is false and error (when given) says why.
    bool SaveText(std::string& text, const char* name, Pal::String* error = nullptr);
    // Whether Save flushes the file and its folder to disk (on by default),
    // so that a saved design survives a power cut. A program that writes many
    // design files and flushes once when all are written turns it off; the
    // rename that replaces the file stays atomic either way.
    void SetFlushOnSave(bool flush) { m_flushOnSave = flush; }
    bool GetFlushOnSave() const { return m_flushOnSave; }

protected:
    // Writes the bytes to the open file descriptor; false on failure. Save
    // writes the temporary file through this hook, so that tests can make a
    // write fail part way.
    virtual bool WriteBytes(int fd, const char* data, std::size_t size);

private:
    enum CursorKind { kBlockCursor, kSignalCursor, kPinCursor, kBlkPropCursor, kPinPropCursor, kSigPropCursor,
                      kCursorCount };
    struct Cursor {
        std::vector<Pal::String> names;  // snapshot taken by getfirst
        std::size_t next = 0;
        Pal::String owner1;  // owner arguments of the getfirst
        Pal::String owner2;
    };

    Pal::String Query(const char* what, const char* a2, const char* a3, const char* a4);
    Pal::String Iterate(bool first, const char* what, const char* a2, const char* a3);
    Pal::String Set(const char* what, const char* a2, const char* a3, const char* a4);
    Pal::String Add(const char* what, const char* a2, const char* a3, const char* a4, const char* a5);
    Pal::String Connect(const char* what, const char* a2, const char* a3, const char* a4);
    Olm_KfzPin* FindPin(const char* pin, const char* block);
    void ResetCursors();

    // Blocks and signals are found through name indexes rather than by
    // walking the lists, with the same result: the first entry of the name,
    // letter case folded.
    Olm_KfzBlock* FindBlock(const char* name);
    Olm_KfzSignal* FindSignal(const char* name);
    Olm_KfzBlock& AppendBlock(const char* name);
    Olm_KfzSignal& AppendSignal(const char* name, bool declared);
    // Moves the signal at the position to the end of the list, in effect:
    // the move is recorded and carried out by SettleSignalOrder, so that a
    // long run of "add signal" writes stays linear.
    void PlaceSignalLast(std::size_t position);
    // Puts the signals in their order when a move is pending (before the
    // order is looked at: reading the design, walking the signals, saving).
    void SettleSignalOrder() const;
    // Indexes a design that was loaded or emptied.
    void ResetIndexes();

    mutable Olm_KfzDesign m_design;  // mutable: SettleSignalOrder reorders the signals
    std::array<Cursor, kCursorCount> m_cursors;
    std::unique_ptr<Olm_KfzNameIndex> m_blockIndex;
    std::unique_ptr<Olm_KfzNameIndex> m_signalIndex;
    // Per signal, when it was last placed at the end of the list; the list
    // order is the order of these stamps once settled.
    mutable std::vector<std::uint64_t> m_signalStamps;
    std::uint64_t m_nextStamp = 0;
    mutable bool m_signalMovePending = false;
    bool m_flushOnSave = true;
};
