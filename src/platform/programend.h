#pragma once

#include <functional>

namespace vx {

// Ending the program "at once", from deep inside a nested wait.
//
// The real hook leaves the process there and then. A deferred end only
// records the request; from then on every wait returns at once and the engine
// abandons the tick, so nothing that was suspended resumes its work.
class ProgramEnd
{
public:
    virtual ~ProgramEnd() = default;
    void endProgram()
    {
        m_ended = true;
        doEnd();
    }
    bool ended() const { return m_ended; }

protected:
    virtual void doEnd() = 0;

private:
    bool m_ended = false;
};

class ProcessExit : public ProgramEnd
{
public:
    // Runs just before the process leaves. No destructor runs then, so what
    // must not outlive the program (a child process) is stopped here.
    void setBeforeExit(std::function<void()> work) { m_beforeExit = std::move(work); }

protected:
    void doEnd() override;

private:
    std::function<void()> m_beforeExit;
};

// Only marks the end: every wait returns at once and the engine stops; the
// front end then leaves on its own, with its own exit status.
class DeferredEnd : public ProgramEnd
{
protected:
    void doEnd() override {}
};

} // namespace vx
