#pragma once
// An in-memory form built from the same control table as the real window,
// behaving as the window system does where the dialog's logic depends on it:
// one selector group, lists that show no selection for an index without an
// item, a color chooser that answers what the test scripted.

#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "settings/dialog/dialog_platform.h"
#include "settings/dialog/form_layout.h"

namespace tesra::test {

class FakeDialogPlatform final : public DialogPlatform {
public:
    struct State {
        ControlKind kind;
        std::vector<std::string> items;
        std::vector<std::int32_t> pictures;  // figure lists: the kind each item paints
        std::int32_t selected = -1;
        std::string text;
        bool on = false;
        std::int32_t color = -1;
        std::string note;  // an edit box's value note, as shown now
    };

    FakeDialogPlatform() {
        for (const ControlEntry& entry : FormControls()) {
            ids_[entry.name] = static_cast<Control>(controls_.size());
            State s{entry.kind, {}, {}, -1, entry.text, false, -1, {}};
            for (std::string_view item : entry.items) s.items.emplace_back(item);
            controls_.push_back(s);
        }
    }

    Control Find(std::string_view name) override {
        const auto it = ids_.find(std::string(name));
        return it == ids_.end() ? kNoControl : it->second;
    }
    void SetSelector(Control c, bool on) override {
        if (on) {
            for (State& s : controls_) {
                if (s.kind == ControlKind::Selector) s.on = false;
            }
        }
        At(c, ControlKind::Selector).on = on;
    }
    bool SelectorOn(Control c) override { return At(c, ControlKind::Selector).on; }
    void FocusSelector(Control c) override {
        At(c, ControlKind::Selector);
        focused = c;
    }
    void FocusControl(Control c) override {
        if (!IsTabStop(controls_.at(static_cast<std::size_t>(c)).kind))
            throw std::logic_error("focus on a control that takes none");
        focused = c;
    }
    void ClearItems(Control c) override {
        State& s = At(c, ControlKind::DropDown);
        s.items.clear();
        s.pictures.clear();
        s.selected = -1;
    }
    void AddItem(Control c, std::string_view text) override {
        At(c, ControlKind::DropDown).items.emplace_back(text);
    }
    void AddFigureItem(Control c, std::string_view text, std::int32_t kind) override {
        AddItem(c, text);
        At(c, ControlKind::DropDown).pictures.push_back(kind);
    }
    void UseOwnFigures(const OwnFigureSet& set) override { ownFigures = &set; }
    // Marked, so that a test sees which text was taken as CP932.
    std::string FromCp932(std::string_view cp932) override { return "cp932:" + std::string(cp932); }
    // CP932 has no character of four UTF-8 bytes.
    std::optional<std::string> ToCp932(std::string_view utf8) override {
        if (std::ranges::any_of(utf8, [](char b) { return static_cast<unsigned char>(b) >= 0xF0; }))
            return std::nullopt;
        return std::string(utf8);
    }
    void SelectItem(Control c, std::int32_t index) override {
        State& s = At(c, ControlKind::DropDown);
        const bool exists = index >= 0 && static_cast<std::size_t>(index) < s.items.size();
        s.selected = exists ? index : -1;
    }
    std::int32_t SelectedItem(Control c) override { return At(c, ControlKind::DropDown).selected; }
    void SetEditText(Control c, std::string_view text) override {
        At(c, ControlKind::Edit).text = text;
    }
    std::string EditText(Control c) override { return At(c, ControlKind::Edit).text; }
    void ShowValueNote(Control c, std::string_view note) override {
        At(c, ControlKind::Edit).note = note;
    }
    void SetLabelText(Control c, std::string_view text) override { Label(c).text = text; }
    void SetLabelColor(Control c, std::int32_t bgr) override { Label(c).color = bgr; }
    void SetChecked(Control c, bool on) override { At(c, ControlKind::CheckBox).on = on; }
    bool Checked(Control c) override { return At(c, ControlKind::CheckBox).on; }
    void ShowPreview(Control band, const PatternRow& row, const SolidStyle& solid,
                     std::string_view caption) override {
        if (controls_.at(static_cast<std::size_t>(band)).kind != ControlKind::PreviewBand)
            throw std::logic_error("preview on a control of another kind");
        previews.push_back({row, solid, std::string(caption)});
    }
    WindowPosition Position() override { return position; }
    void MoveTo(WindowPosition p) override { position = p; }
    std::optional<std::int32_t> RunColorChooser(std::int32_t preset) override {
        chooserPresets.push_back(preset);
        return chooserAnswer;
    }
    void Close() override { ++closeCount; }
    FigureGridAnswer RunFigureGrid(Control list, const FigureGridContent& content,
                                   int focusCell) override {
        grids.push_back({list, content, focusCell});
        if (gridAnswers.empty()) return {};
        const FigureGridAnswer answer = gridAnswers.front();
        gridAnswers.pop_front();
        return answer;
    }
    FigureGridAnswer RunSymbolGrid(const SymbolGridContent& content, int focusCell) override {
        symbolGrids.push_back({content, focusCell});
        if (symbolAnswers.empty()) return {};
        const FigureGridAnswer answer = symbolAnswers.front();
        symbolAnswers.pop_front();
        return answer;
    }
    std::optional<std::string> AskText(std::string_view prompt, std::string_view initial) override {
        prompts.emplace_back(prompt);
        initialTexts.emplace_back(initial);
        std::optional<std::string> answer = std::move(typed);
        typed = std::nullopt;
        if (!typedLater.empty()) {
            typed = typedLater.front();
            typedLater.pop_front();
        }
        return answer;
    }
    bool AskYesNo(std::string_view question) override {
        questions.emplace_back(question);
        return yes;
    }
    void Tell(std::string_view message) override { messages.emplace_back(message); }

    // What the tests look at and script.
    State& Named(const std::string& name) {
        return controls_.at(static_cast<std::size_t>(Find(name)));
    }
    WindowPosition position{-999, -999};
    Control focused = kNoControl;
    const OwnFigureSet* ownFigures = nullptr;
    int closeCount = 0;
    std::optional<std::int32_t> chooserAnswer;
    std::vector<std::int32_t> chooserPresets;
    struct Preview {
        PatternRow row;
        SolidStyle solid;
        std::string caption;
    };
    std::vector<Preview> previews;  // every picture the band was asked to show
    struct Grid {
        Control list;
        FigureGridContent content;
        int focusCell;
    };
    std::vector<Grid> grids;                   // every time the chooser opened
    std::deque<FigureGridAnswer> gridAnswers;  // what the user does there, in turn; then Cancel
    struct SymbolGrid {
        SymbolGridContent content;
        int focusCell;
    };
    std::vector<SymbolGrid> symbolGrids;         // every time the symbol chooser opened
    std::deque<FigureGridAnswer> symbolAnswers;  // what the user does there, in turn; then Cancel
    // What the user types when asked for a name; then typedLater in turn; then Cancel.
    std::optional<std::string> typed;
    std::deque<std::optional<std::string>> typedLater;
    std::vector<std::string> prompts;
    std::vector<std::string> initialTexts;  // what each question's box started with
    bool yes = false;                       // the answer to every question
    std::vector<std::string> questions;
    std::vector<std::string> messages;

private:
    // Calling an operation on the wrong kind of control is a fault of the
    // logic under test, not something to paper over.
    State& At(Control c, ControlKind kind) {
        State& s = controls_.at(static_cast<std::size_t>(c));
        if (s.kind != kind) throw std::logic_error("operation on a control of another kind");
        return s;
    }
    State& Label(Control c) {
        State& s = controls_.at(static_cast<std::size_t>(c));
        if (s.kind != ControlKind::Label && s.kind != ControlKind::Swatch) {
            throw std::logic_error("label operation on a control of another kind");
        }
        return s;
    }

    std::map<std::string, Control> ids_;
    std::vector<State> controls_;
};

}  // namespace tesra::test
