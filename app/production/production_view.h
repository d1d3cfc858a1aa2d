// What a production run shows and asks: the production windows implement
// this over their controls, vantorel-cli over stderr.
#pragma once

#include <string>

namespace vt::production {

// The conversion labels of a production window.
struct ConversionStatus {
    std::string currentTime;   // "HH:MM:SS" of the source position reached
    std::string fps;           // "Seeking..." until the encoder reports
    std::string currentFrame;  // "Seeking..." until the encoder reports
};

class ProductionView {
public:
    virtual ~ProductionView() = default;

    // One line of the log memo.
    virtual void logLine(const std::string &line) = 0;
    // Bar 1 or 2 at value per cent (already clamped to 0..100).
    virtual void showProgress(int bar, int value) = 0;
    // Busy: Start hidden, Stop shown, the choices disabled; idle: the reverse.
    virtual void showBusy(bool busy) = 0;
    virtual void showDuration(const std::string &hms) = 0;
    virtual void showConversionStatus(const ConversionStatus &status) = 0;
    // Information message with an OK button.
    virtual void showMessage(const std::string &text) = 0;
    // Yes/No question; true for Yes.
    virtual bool askYesNo(const std::string &text) = 0;
    // Delivers pending user input and repaints; called while long calls run
    // (every 100 ms or more often).
    virtual void processEvents() = 0;
};

} // namespace vt::production
