#pragma once

#include "platform/Result.h"
#include "platform/docengine/WordProcessor.h"

#include <functional>
#include <memory>

namespace velmora {

// Starts a word processor for the routines that drive one. The program starts the embedded
// engine; tests start one that reports an older version, or one that fails to start.
using WordProcessorStarter = std::function<Result<std::unique_ptr<docengine::WordProcessor>>()>;

// A starter of the embedded engine, reporting `version` as its major version.
WordProcessorStarter embeddedWordProcessor(int version = docengine::WordProcessor::kCurrentVersion);

// VersionProcesador: the word processor's major version, the piece of its version text
// before the first "." ("11.0" gives 11). The instance is released afterwards.
Result<qint16> VersionProcesador(const WordProcessorStarter& start);

// Word processors of version 8 or lower fill the older template generation.
inline bool usesOlderTemplates(qint16 version) {
    return version <= 8;
}

// The program-wide word processor of printing. A print leaves it running with the printed
// document open until the editor's timer closes that document and quits it; a save closes
// both at once.
class PrintingWordProcessor {
public:
    explicit PrintingWordProcessor(WordProcessorStarter start = embeddedWordProcessor());
    ~PrintingWordProcessor();
    PrintingWordProcessor(const PrintingWordProcessor&) = delete;
    PrintingWordProcessor& operator=(const PrintingWordProcessor&) = delete;

    // Starts a new instance and holds it; one still held is closed first.
    Result<docengine::WordProcessor*> start();
    docengine::WordProcessor* held() const { return m_instance.get(); }
    bool isHeld() const { return m_instance != nullptr; }

    // Closes the active document without saving, quits without saving and forgets the
    // instance (the timer's work). False when none is held.
    bool closeAndForget();

private:
    WordProcessorStarter m_start;
    std::unique_ptr<docengine::WordProcessor> m_instance;
};

} // namespace velmora
