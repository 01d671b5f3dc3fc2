// The controller and the simulated radio take what a model can do from the same table: what the
// controller offers for each model is what the radio on the other end of the bus accepts.
#include <gtest/gtest.h>

#include "CivNumbers.h"
#include "CommandLayout.h"
#include "ControllerTestSupport.h"

using namespace ctltest;
using radio::RadioFunction;

namespace {

// The radio's last answer to the controller.
Bytes LastAnswer(const SimRig& rig)
{
    Bytes last;
    for (const auto& f : rig.radio->Frames())
        if (f.fromRadio)
            last = f.bytes;
    return last;
}

bool AnsweredNg(const SimRig& rig)
{
    const Bytes a = LastAnswer(rig);
    return a.size() == 6 && a[4] == 0xFA;
}

class ModelTableTest : public ::testing::TestWithParam<sim::RadioModel> {};

}  // namespace

TEST_P(ModelTableTest, DefaultRangeIsTheRadiosBandEdges)
{
    SimRig rig(GetParam());
    rig.controller->UpdateRangeInfo();
    const int64_t upper = rig.controller->State().upperLimit;
    rig.controller->SendCommand(0x02, 0, {}, true);
    rig.Settle();
    const Bytes edges = LastAnswer(rig);
    ASSERT_EQ(edges.size(), 17u);
    int64_t radioUpper = 0;
    ASSERT_TRUE(radio::ReadBcd(edges.data(), 11, 5, radioUpper));
    EXPECT_EQ(upper, radioUpper);
    EXPECT_EQ(rig.view.bandMenu[radio::ctl::kMenu70cm], radioUpper >= 400000000);
}

TEST_P(ModelTableTest, OfferedModesAreTheModesTheRadioTakes)
{
    SimRig rig(GetParam());
    rig.controller->UpdateRangeInfo();
    const size_t offered = rig.view.modeList.size();
    EXPECT_EQ(rig.view.modeMenu.size(), offered);
    for (uint8_t mode = 0; mode < 7; ++mode) {
        rig.controller->SendCommand(0x06, mode, {1}, true);
        rig.Settle();
        EXPECT_EQ(!AnsweredNg(rig), mode < offered) << "mode " << int(mode);
    }
    // The radio lacks FM exactly where the duplex buttons are hidden.
    EXPECT_EQ(rig.view.duplexShown, offered > 5);
}

TEST_P(ModelTableTest, EverySwitchReadIsAnsweredWhereTheModelHasFunctions)
{
    SimRig rig(GetParam());
    const bool functions = rig.controller->State().extendedFunctions;
    for (size_t i = 0; i < radio::kFunctionCount; ++i) {
        const RadioFunction f = radio::FunctionTable()[i].function;
        rig.radio->ClearFrames();
        if (f == RadioFunction::Attenuator)
            rig.controller->SendCommand(0x11, radio::kRead, {}, true);
        else
            rig.controller->SendCommand(0x16, radio::FunctionSub(f, rig.controller->State().model),
                                        {radio::kRead}, true);
        rig.Settle();
        EXPECT_EQ(AnsweredNg(rig), !functions) << radio::FunctionInfo(f).caption;
    }
}

TEST_P(ModelTableTest, OnlyTheRadioWithExtendedFunctionsTurnsThemOnByItsId)
{
    SimRig rig(GetParam());
    ctltest::MutableState(*rig.controller).extendedFunctions = false;
    rig.controller->SendCommand(0x19, 0x00, {}, true);
    rig.Settle();
    EXPECT_EQ(rig.controller->State().extendedFunctions, GetParam() == sim::RadioModel::IC706MKIIG);
}

INSTANTIATE_TEST_SUITE_P(Models, ModelTableTest,
                         ::testing::Values(sim::RadioModel::IC706, sim::RadioModel::IC706MKII,
                                           sim::RadioModel::IC706MKIIG, sim::RadioModel::IC718));
