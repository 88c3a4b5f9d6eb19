// A bounded history of a document's states for Undo and Redo: the state after each change, with
// the name of the change ("Timer", "Upload"), and which state was last saved.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <utility>

namespace qm54 {

template <class State>
class EditHistory {
public:
    static constexpr std::size_t Limit = 100;  // changes kept; the oldest go first

    // A new history whose one state is state; saved: whether it is what the file holds.
    void Reset(State state, bool saved)
    {
        steps_.clear();
        steps_.push_back({std::string(), std::move(state)});
        current_ = 0;
        saved_ = saved ? 0 : -1;
    }

    // The state after a change named label. Nothing is recorded when it equals the current
    // state; the changes that were undone are dropped. Returns whether a step was recorded.
    bool Record(std::string label, State state)
    {
        if (!steps_.empty() && steps_[current_].Value == state) return false;
        steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(current_) + 1, steps_.end());
        if (saved_ > static_cast<long>(current_)) saved_ = -1;
        steps_.push_back({std::move(label), std::move(state)});
        current_ = steps_.size() - 1;
        if (steps_.size() > Limit + 1) {
            steps_.pop_front();
            --current_;
            saved_ = saved_ > 0 ? saved_ - 1 : -1;
        }
        return true;
    }

    // The state of the current step, and that state replaced where nothing was changed (what a
    // save wrote into the data): no step is recorded and nothing that could be redone is dropped.
    const State& Present() const { return steps_[current_].Value; }
    void Amend(State state) { steps_[current_].Value = std::move(state); }

    bool CanUndo() const { return current_ > 0; }
    bool CanRedo() const { return current_ + 1 < steps_.size(); }
    // The names of the change Undo takes back and of the one Redo makes again.
    std::string UndoLabel() const { return CanUndo() ? steps_[current_].Label : std::string(); }
    std::string RedoLabel() const { return CanRedo() ? steps_[current_ + 1].Label : std::string(); }

    // The state to go back (or forward) to, or nullptr when there is none.
    const State* Undo() { return CanUndo() ? &steps_[--current_].Value : nullptr; }
    const State* Redo() { return CanRedo() ? &steps_[++current_].Value : nullptr; }

    // The current state is what the file holds now; fix changes every state (the file's name
    // after a Save As).
    template <class Fix>
    void MarkSaved(Fix fix)
    {
        for (Step& step : steps_) fix(step.Value);
        saved_ = static_cast<long>(current_);
    }
    bool AtSaved() const { return saved_ == static_cast<long>(current_); }

private:
    struct Step {
        std::string Label;
        State Value;
    };
    std::deque<Step> steps_;
    std::size_t current_ = 0;
    long saved_ = -1;
};

}  // namespace qm54
