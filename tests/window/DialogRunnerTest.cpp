#include "window/DialogRunner.h"
#include "support/FakeWindowView.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

// Records the calls and answers each with after. A behaviour that sets a control notifies a
// real face's runner again: here every call echoes as the command one higher.
struct SEchoBehaviour : IDialogBehaviour {
    EAfter after = EAfter::Stay;
    CDialogRunner* runner = nullptr;
    std::vector<int> seen;

    int TemplateId() const override { return 0; }
    void OnInit(IWindowView&) override { runner->Command(1); }
    EAfter OnCommand(IWindowView&, int id) override { return Echo(id); }
    EAfter OnDoubleClick(IWindowView&, int id) override { return Echo(-id); }
    EAfter Echo(int id)
    {
        seen.push_back(id);
        runner->Command(id + 1);
        return after;
    }
};

} // namespace

TEST(DialogRunner, ForwardsOnlyTheUsersActionsAndEndsAsTheBehaviourSays)
{
    using EAfter = IDialogBehaviour::EAfter;
    for (const auto& [after, expected] : { std::pair { EAfter::Stay, std::optional<bool>() },
             { EAfter::Accept, true }, { EAfter::Cancel, false } }) {
        CFakeWindowView view;
        SEchoBehaviour behaviour;
        std::optional<bool> ended;
        CDialogRunner runner(behaviour, view, [&](bool accepted) { ended = accepted; });
        behaviour.runner = &runner;
        behaviour.after = after;
        runner.Init();
        runner.Command(2);
        runner.DoubleClick(5, false); // queued behind the dialog's end
        runner.DoubleClick(7, true);
        EXPECT_EQ(behaviour.seen, (std::vector<int> { 2, -7 }));
        EXPECT_EQ(ended, expected);
    }
}
