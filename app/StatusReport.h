// StatusReport: the seven panels of the main window's status bar and what they remember
// between refreshes - the selection last shown and how long a notice is held.
#pragma once

#include <QString>

#include <array>
#include <string>

class CommandContext;
class QLabel;
class QStatusBar;
class StatusBarPanels;

class StatusReport {
public:
    static constexpr int panelCount = 7;
    // Selection bounds as the status bar shows them: zero-based, normalised.
    struct Bounds {
        int c1 = -1, r1 = -1, c2 = -1, r2 = -1;
        bool operator==(const Bounds&) const = default;
    };

    // Fills `bar` with the panels; the table, view and settings are read from `context` when
    // the panels are refreshed.
    StatusReport(QStatusBar* bar, CommandContext& context);

    // Scope 0: panels 0, 1, 5, 6; scope 1: panels 1, 5, 6 (the table size cannot have changed).
    void update(int scope);
    // Separator, encoding and line ending of the document.
    void updateFormat();
    // Writes a notice into panel 6; `hold` refreshes pass before the panel shows cells again.
    void setMessage(const std::string& utf8, int hold);
    // The next refresh rewrites the selection panels even when the selection did not move.
    void forgetSelection();

    QString text(int panel) const;
    Bounds lastRange() const { return range; }
    int hold() const { return holdCount; }

private:
    void updateSelectionPanels(const Bounds& b);
    void setPanel(int panel, const std::string& utf8);

    CommandContext& context;
    StatusBarPanels* strip = nullptr;
    std::array<QLabel*, panelCount> panels{};
    Bounds range;
    int holdCount = 0;
};
