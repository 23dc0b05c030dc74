#pragma once

namespace vx {

// Ending the program "at once", from deep inside a nested wait.
//
// The real hook leaves the process there and then. The test double only
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
protected:
    void doEnd() override;
};

class RecordingEnd : public ProgramEnd
{
public:
    int calls = 0;

protected:
    void doEnd() override { ++calls; }
};

} // namespace vx
