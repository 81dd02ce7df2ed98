#include "window/DialogRunner.h"
#include "support/FakeWindowView.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using EAfter = IDialogBehaviour::EAfter;

// Answers every call with after; a command to id 2 sets a control, which in a real face
// notifies the runner again.
class CEchoBehaviour : public IDialogBehaviour {
public:
    EAfter after = EAfter::Stay;
    CDialogRunner* runner = nullptr;
    std::vector<int> seen;

    int TemplateId() const override { return 0; }
    void OnInit(IWindowView&) override { Echo(0); }
    EAfter OnCommand(IWindowView&, int id) override
    {
        seen.push_back(id);
        Echo(id);
        return after;
    }
    EAfter OnDoubleClick(IWindowView&, int id) override
    {
        seen.push_back(-id);
        return after;
    }

private:
    void Echo(int id)
    {
        if (id % 2 == 0)
            runner->Command(id + 1);
    }
};

} // namespace

TEST(DialogRunner, ForwardsTheUsersActionsOnlyAndEndsAsTheBehaviourSays)
{
    struct {
        EAfter after;
        std::optional<bool> ended;
    } const cases[]
        = { { EAfter::Stay, std::nullopt }, { EAfter::Accept, true }, { EAfter::Cancel, false } };
    for (const auto& c : cases) {
        CFakeWindowView view;
        CEchoBehaviour behaviour;
        std::optional<bool> ended;
        CDialogRunner runner(behaviour, view, [&](bool accepted) { ended = accepted; });
        behaviour.runner = &runner;
        behaviour.after = c.after;
        runner.Init();
        runner.Command(2);
        runner.DoubleClick(5, false);
        runner.DoubleClick(7, true);
        // The changes the behaviour makes itself (1 in OnInit, 3 on command 2) never come back.
        EXPECT_EQ(behaviour.seen, (std::vector<int> { 2, -7 }));
        EXPECT_EQ(ended, c.ended);
    }
}
