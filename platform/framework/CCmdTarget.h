#pragma once

#include <cstddef>

class CCmdTarget;

// A command handler takes no arguments; a range handler is told which command of its range ran.
using AFX_PMSG = void (CCmdTarget::*)();
using AFX_PMSG_RANGE = void (CCmdTarget::*)(unsigned);

struct AFX_MSGMAP_ENTRY {
    unsigned nID;
    unsigned nLastID;
    AFX_PMSG pfn;
    AFX_PMSG_RANGE pfnRange;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* pBaseMap;
    const AFX_MSGMAP_ENTRY* entries;
    std::size_t count;
};

template <class T>
constexpr AFX_MSGMAP_ENTRY ON_COMMAND(unsigned id, void (T::*handler)()) {
    return {id, id, static_cast<AFX_PMSG>(handler), nullptr};
}

template <class T>
constexpr AFX_MSGMAP_ENTRY ON_COMMAND_RANGE(unsigned first, unsigned last,
                                            void (T::*handler)(unsigned)) {
    return {first, last, nullptr, static_cast<AFX_PMSG_RANGE>(handler)};
}

// In a class: declares its command table. In its source file: MESSAGE_MAP(Class, Base, entries...).
#define DECLARE_MESSAGE_MAP()                          \
public:                                                \
    static const AFX_MSGMAP* GetThisMessageMap();      \
                                                       \
protected:                                             \
    const AFX_MSGMAP* GetMessageMap() const override { \
        return GetThisMessageMap();                    \
    }

#define MESSAGE_MAP(theClass, baseClass, ...)                                \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                        \
        using ThisClass [[maybe_unused]] = theClass;                         \
        static const AFX_MSGMAP_ENTRY entries[] = {__VA_ARGS__};             \
        static const AFX_MSGMAP map{baseClass::GetThisMessageMap(), entries, \
                                    sizeof(entries) / sizeof(entries[0])};   \
        return &map;                                                         \
    }

enum class CmdAction { Query, Execute };

// Anything that can handle commands by number. Commands are looked up in the static tables of the
// class and its bases; OnCmdMsg is overridden by targets that pass commands on (frames, views).
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Runs (or, with Query, only finds) the handler of nID; false when this target has none.
    virtual bool OnCmdMsg(unsigned nID, CmdAction action);

    static const AFX_MSGMAP* GetThisMessageMap();

    // The wait cursor over the whole application while slow work runs.
    static void BeginWaitCursor();
    static void EndWaitCursor();

protected:
    virtual const AFX_MSGMAP* GetMessageMap() const { return GetThisMessageMap(); }
};
