// The simulated radio's answer to every command of its table, per model where the models differ.
#include <gtest/gtest.h>

#include <limits>

#include "SimBus.h"

using namespace simtest;
using sim::RadioModel;

namespace {

TEST(SimRadioFrequency, ReadsSetsAndRefusesFrequencies)
{
    SimBus bus;
    EXPECT_EQ(bus.Ask({0x03}), (Bytes{0x03, 0x00, 0x40, 0x07, 0x14, 0x00}));
    EXPECT_EQ(bus.Ask({0x05, 0x00, 0x00, 0x25, 0x14, 0x00}), kOk);
    EXPECT_EQ(bus.Ask({0x03}), (Bytes{0x03, 0x00, 0x00, 0x25, 0x14, 0x00}));
    EXPECT_EQ(bus.radio.State().vfo[0].frequencyHz, 14250000u);
    // Band edges themselves are accepted, one Hz outside is not.
    EXPECT_EQ(bus.Ask({0x05, 0x00, 0x00, 0x03, 0x00, 0x00}), kOk);
    EXPECT_EQ(bus.Ask({0x05, 0x99, 0x99, 0x02, 0x00, 0x00}), kNg);
    EXPECT_EQ(bus.Ask({0x05, 0x99, 0x99, 0x99, 0x69, 0x04}), kOk);
    EXPECT_EQ(bus.Ask({0x05, 0x00, 0x00, 0x00, 0x70, 0x04}), kNg);
    // Not BCD, too short, data on a read.
    EXPECT_EQ(bus.Ask({0x05, 0x0A, 0x00, 0x25, 0x14, 0x00}), kNg);
    EXPECT_EQ(bus.Ask({0x05, 0x00, 0x00, 0x25, 0x14}), kNg);
    EXPECT_EQ(bus.Ask({0x03, 0x00}), kNg);
    EXPECT_EQ(bus.radio.State().frequencyHz, 469999999u);
}

TEST(SimRadioFrequency, BandEdgesFollowTheModel)
{
    const struct {
        RadioModel model;
        Bytes answer;
    } cases[] = {
        {RadioModel::IC706,
         {0x02, 0x00, 0x00, 0x03, 0x00, 0x00, 0x2D, 0x99, 0x99, 0x99, 0x99, 0x01}},
        {RadioModel::IC706MKII,
         {0x02, 0x00, 0x00, 0x03, 0x00, 0x00, 0x2D, 0x99, 0x99, 0x99, 0x99, 0x01}},
        {RadioModel::IC706MKIIG,
         {0x02, 0x00, 0x00, 0x03, 0x00, 0x00, 0x2D, 0x99, 0x99, 0x99, 0x69, 0x04}},
        {RadioModel::IC718,
         {0x02, 0x00, 0x00, 0x03, 0x00, 0x00, 0x2D, 0x99, 0x99, 0x99, 0x29, 0x00}},
    };
    for (const auto& c : cases) {
        SimBus bus(QuickConfig(c.model));
        EXPECT_EQ(bus.Ask({0x02}), c.answer) << sim::RadioModelName(c.model);
    }
    SimBus ic718(QuickConfig(RadioModel::IC718));
    EXPECT_EQ(ic718.Ask({0x05, 0x00, 0x00, 0x00, 0x30, 0x00}), kNg);  // 30 MHz
    EXPECT_EQ(ic718.Ask({0x05, 0x99, 0x99, 0x99, 0x29, 0x00}), kOk);

    // Inside the G's band edges, nothing is received between 200 and 400 MHz.
    SimBus g(QuickConfig(RadioModel::IC706MKIIG));
    EXPECT_EQ(g.Ask({0x05, 0x99, 0x99, 0x99, 0x99, 0x01}), kOk);
    EXPECT_EQ(g.Ask({0x05, 0x00, 0x00, 0x00, 0x00, 0x02}), kNg);
    EXPECT_EQ(g.Ask({0x05, 0x00, 0x00, 0x00, 0x00, 0x03}), kNg);
    EXPECT_EQ(g.Ask({0x05, 0x00, 0x00, 0x00, 0x00, 0x04}), kOk);
    SimBus ic706(QuickConfig(RadioModel::IC706));
    EXPECT_EQ(ic706.Ask({0x05, 0x00, 0x00, 0x00, 0x00, 0x04}), kNg);
    // The knob stops at the nearest frequency received.
    g.radio.SetFrequencyByHand(250000000);
    EXPECT_EQ(g.radio.State().frequencyHz, 199999999u);
    g.radio.SetFrequencyByHand(350000000);
    EXPECT_EQ(g.radio.State().frequencyHz, 400000000u);
}

TEST(SimRadioMode, ReadsSetsAndRefusesModes)
{
    SimBus bus;
    EXPECT_EQ(bus.Ask({0x04}), (Bytes{0x04, 0x01, 0x01}));
    EXPECT_EQ(bus.Ask({0x06, 0x03, 0x02}), kOk);
    EXPECT_EQ(bus.Ask({0x04}), (Bytes{0x04, 0x03, 0x02}));
    EXPECT_EQ(bus.Ask({0x06, 0x00}), kOk);  // no filter byte: wide
    EXPECT_EQ(bus.Ask({0x04}), (Bytes{0x04, 0x00, 0x01}));
    EXPECT_EQ(bus.Ask({0x06, 0x05, 0x01}), kOk);
    EXPECT_EQ(bus.Ask({0x06, 0x06, 0x01}), kOk);
    EXPECT_EQ(bus.Ask({0x06, 0x06, 0x02}), kNg);  // WFM has one filter
    EXPECT_EQ(bus.Ask({0x06, 0x07, 0x01}), kNg);
    EXPECT_EQ(bus.Ask({0x06, 0x01, 0x03}), kNg);
    EXPECT_EQ(bus.Ask({0x06, 0x01, 0x00}), kNg);
    EXPECT_EQ(bus.Ask({0x06}), kNg);
    EXPECT_EQ(bus.Ask({0x04}), (Bytes{0x04, 0x06, 0x01}));

    SimBus ic718(QuickConfig(RadioModel::IC718));
    EXPECT_EQ(ic718.Ask({0x06, 0x05, 0x01}), kNg);
    EXPECT_EQ(ic718.Ask({0x06, 0x06, 0x01}), kNg);
    EXPECT_EQ(ic718.Ask({0x06, 0x04, 0x02}), kOk);
    EXPECT_EQ(ic718.Ask({0x04}), (Bytes{0x04, 0x04, 0x02}));
}

TEST(SimRadioVfo, SelectsCopiesAndExchangesVfos)
{
    SimBus bus;
    EXPECT_EQ(bus.Ask({0x07, 0x01}), kOk);
    EXPECT_EQ(bus.Ask({0x05, 0x00, 0x00, 0x10, 0x07, 0x00}), kOk);  // B: 7 100 000
    EXPECT_EQ(bus.Ask({0x06, 0x03, 0x02}), kOk);
    EXPECT_EQ(bus.Ask({0x07, 0x00}), kOk);
    EXPECT_EQ(bus.Ask({0x03}), (Bytes{0x03, 0x00, 0x40, 0x07, 0x14, 0x00}));
    EXPECT_EQ(bus.Ask({0x07, 0xB0}), kOk);
    EXPECT_EQ(bus.Ask({0x03}), (Bytes{0x03, 0x00, 0x00, 0x10, 0x07, 0x00}));
    EXPECT_EQ(bus.Ask({0x04}), (Bytes{0x04, 0x03, 0x02}));
    EXPECT_EQ(bus.radio.State().vfo[1].frequencyHz, 14074000u);
    EXPECT_EQ(bus.Ask({0x07, 0xA0}), kOk);
    EXPECT_EQ(bus.radio.State().vfo[1].frequencyHz, 7100000u);
    EXPECT_EQ(bus.radio.State().vfo[1].mode, 3);
    EXPECT_EQ(bus.Ask({0x07, 0x02}), kNg);
    EXPECT_EQ(bus.Ask({0x07, 0x00, 0x00}), kNg);
    // 07 alone and 07 00 leave memory mode.
    EXPECT_EQ(bus.Ask({0x08}), kOk);
    EXPECT_TRUE(bus.radio.State().memoryMode);
    EXPECT_EQ(bus.Ask({0x07}), kOk);
    EXPECT_FALSE(bus.radio.State().memoryMode);
}

TEST(SimRadioMemory, KnobWalksTheChannelsWithoutOverflowing)
{
    SimBus bus;
    EXPECT_EQ(bus.Ask({0x08, 0x00, 0x99}), kOk);
    EXPECT_EQ(bus.Ask({0x08}), kOk);
    bus.radio.TurnKnob(2);
    EXPECT_EQ(bus.radio.State().channel, 2);  // 99 wraps to 1
    bus.radio.TurnKnob(-3);
    EXPECT_EQ(bus.radio.State().channel, 98);
    // Step counts typed at the control line may be as large as an int holds.
    EXPECT_EQ(bus.Ask({0x08, 0x00, 0x99}), kOk);
    bus.radio.TurnKnob(std::numeric_limits<int>::max());
    EXPECT_EQ(bus.radio.State().channel, 1);
    bus.radio.TurnKnob(std::numeric_limits<int>::min());
    EXPECT_EQ(bus.radio.State().channel, 98);
}

TEST(SimRadioMemory, SelectsWritesReadsAndClearsChannels)
{
    SimBus bus;
    EXPECT_EQ(bus.Ask({0x08, 0x00, 0x23}), kOk);
    EXPECT_EQ(bus.radio.State().channel, 23);
    EXPECT_EQ(bus.Ask({0x08, 0x01, 0x01}), kOk);  // 101, a scan edge
    EXPECT_EQ(bus.Ask({0x08, 0x01, 0x02}), kNg);
    EXPECT_EQ(bus.Ask({0x08, 0x00, 0x00}), kNg);
    EXPECT_EQ(bus.Ask({0x08, 0x00, 0x1A}), kNg);  // not BCD
    EXPECT_EQ(bus.Ask({0x08, 0x23}), kNg);
    EXPECT_EQ(bus.radio.State().channel, 101);

    // A blank channel in memory mode: no frequency, and nothing to copy or clear.
    EXPECT_EQ(bus.Ask({0x08, 0x00, 0x07}), kOk);
    EXPECT_EQ(bus.Ask({0x08}), kOk);
    EXPECT_EQ(bus.Ask({0x03}), (Bytes{0x03, 0xFF}));
    EXPECT_EQ(bus.Ask({0x04}), kNg);
    EXPECT_EQ(bus.Ask({0x0A}), kNg);
    EXPECT_EQ(bus.Ask({0x0B}), kNg);
    EXPECT_EQ(bus.Ask({0x09}), kNg);

    // Write a channel the way a controller does: select it, set the VFO, write.
    EXPECT_EQ(bus.Ask({0x07, 0x00}), kOk);
    EXPECT_EQ(bus.Ask({0x05, 0x00, 0x00, 0x50, 0x45, 0x01}), kOk);  // 145 500 000
    EXPECT_EQ(bus.Ask({0x06, 0x05, 0x01}), kOk);
    EXPECT_EQ(bus.Ask({0x0D, 0x00, 0x60, 0x00}), kOk);  // 600 kHz
    EXPECT_EQ(bus.Ask({0x0F, 0x11}), kOk);
    EXPECT_EQ(bus.Ask({0x09}), kOk);
    const sim::MemoryChannel ch = bus.radio.Channel(7);
    EXPECT_TRUE(ch.used);
    EXPECT_EQ(ch.frequencyHz, 145500000u);
    EXPECT_EQ(ch.mode, 5);
    EXPECT_EQ(ch.duplex, sim::Duplex::Minus);
    EXPECT_EQ(ch.offsetHz, 600000u);

    // Read it back as a controller does: memory mode, select, memory to VFO, read.
    EXPECT_EQ(bus.Ask({0x0F, 0x10}), kOk);
    EXPECT_EQ(bus.Ask({0x05, 0x00, 0x40, 0x07, 0x14, 0x00}), kOk);
    EXPECT_EQ(bus.Ask({0x08}), kOk);
    EXPECT_EQ(bus.Ask({0x08, 0x00, 0x07}), kOk);
    EXPECT_EQ(bus.Ask({0x03}), (Bytes{0x03, 0x00, 0x00, 0x50, 0x45, 0x01}));
    EXPECT_EQ(bus.Ask({0x0A}), kOk);
    EXPECT_FALSE(bus.radio.State().memoryMode);
    EXPECT_EQ(bus.Ask({0x03}), (Bytes{0x03, 0x00, 0x00, 0x50, 0x45, 0x01}));
    EXPECT_EQ(bus.Ask({0x04}), (Bytes{0x04, 0x05, 0x01}));
    EXPECT_EQ(bus.radio.State().duplex, sim::Duplex::Minus);

    // Clear it.
    EXPECT_EQ(bus.Ask({0x0B}), kOk);
    EXPECT_FALSE(bus.radio.Channel(7).used);
    EXPECT_EQ(bus.Ask({0x0B}), kNg);
    EXPECT_EQ(bus.Ask({0x09, 0x00}), kNg);
}

TEST(SimRadioDuplex, SplitDuplexOffsetAndTuningStep)
{
    SimBus bus;
    EXPECT_EQ(bus.Ask({0x0F, 0x01}), kOk);
    EXPECT_TRUE(bus.radio.State().split);
    EXPECT_EQ(bus.Ask({0x0F, 0x12}), kOk);
    EXPECT_EQ(bus.radio.State().duplex, sim::Duplex::Plus);
    EXPECT_FALSE(bus.radio.State().split);
    EXPECT_EQ(bus.Ask({0x0F, 0x11}), kOk);
    EXPECT_EQ(bus.radio.State().duplex, sim::Duplex::Minus);
    EXPECT_EQ(bus.Ask({0x0F, 0x10}), kOk);
    EXPECT_EQ(bus.radio.State().duplex, sim::Duplex::Simplex);
    EXPECT_EQ(bus.Ask({0x0F, 0x00}), kOk);
    EXPECT_EQ(bus.Ask({0x0F, 0x02}), kNg);
    EXPECT_EQ(bus.Ask({0x0F}), kNg);

    EXPECT_EQ(bus.Ask({0x0C}), (Bytes{0x0C, 0x00, 0x00, 0x00}));
    EXPECT_EQ(bus.Ask({0x0D, 0x00, 0x60, 0x00}), kOk);
    EXPECT_EQ(bus.Ask({0x0C}), (Bytes{0x0C, 0x00, 0x60, 0x00}));
    EXPECT_EQ(bus.Ask({0x0D, 0x90, 0x99, 0x09}), kOk);  // 9 999 kHz, the most a controller sends
    EXPECT_EQ(bus.radio.State().offsetHz, 9999000u);
    EXPECT_EQ(bus.Ask({0x0D, 0x00, 0x00, 0x10}), kNg);  // 10 MHz
    EXPECT_EQ(bus.Ask({0x0D, 0x0F, 0x00, 0x00}), kNg);  // not BCD
    EXPECT_EQ(bus.Ask({0x0D, 0x00, 0x60}), kNg);

    EXPECT_EQ(bus.Ask({0x10, 0x05}), kOk);
    EXPECT_EQ(bus.radio.State().tuningStep, 5);
    bus.radio.TurnKnob(3);
    EXPECT_EQ(bus.radio.State().frequencyHz, 14104000u);
    EXPECT_EQ(bus.Ask({0x10, 0x0A}), kNg);
    EXPECT_EQ(bus.Ask({0x10}), kNg);

    for (RadioModel model : {RadioModel::IC706, RadioModel::IC706MKII, RadioModel::IC718}) {
        SimBus other(QuickConfig(model));
        EXPECT_EQ(other.Ask({0x0C}), kNg) << sim::RadioModelName(model);
        EXPECT_EQ(other.Ask({0x0D, 0x00, 0x60, 0x00}), kNg) << sim::RadioModelName(model);
        EXPECT_EQ(other.Ask({0x0F, 0x01}), kOk) << sim::RadioModelName(model);
    }
}

TEST(SimRadioFunctions, AttenuatorAndFunctionSubsOfTheG)
{
    SimBus bus;
    EXPECT_EQ(bus.Ask({0x11}), (Bytes{0x11, 0x00}));
    EXPECT_EQ(bus.Ask({0x11, 0x20}), kOk);
    EXPECT_EQ(bus.Ask({0x11}), (Bytes{0x11, 0x20}));
    EXPECT_EQ(bus.Ask({0x11, 0x10}), kNg);
    // Preamp and attenuator share one switch.
    EXPECT_EQ(bus.Ask({0x16, 0x02, 0x01}), kOk);
    EXPECT_EQ(bus.Ask({0x11}), (Bytes{0x11, 0x00}));
    EXPECT_EQ(bus.Ask({0x16, 0x02}), (Bytes{0x16, 0x02, 0x01}));
    EXPECT_EQ(bus.Ask({0x11, 0x20}), kOk);
    EXPECT_EQ(bus.Ask({0x16, 0x02}), (Bytes{0x16, 0x02, 0x00}));

    for (uint8_t sub : {0x22, 0x42, 0x43, 0x44, 0x46, 0x47}) {
        EXPECT_EQ(bus.Ask({0x16, sub}), (Bytes{0x16, sub, 0x00})) << int(sub);
        EXPECT_EQ(bus.Ask({0x16, sub, 0x01}), kOk) << int(sub);
        EXPECT_EQ(bus.Ask({0x16, sub}), (Bytes{0x16, sub, 0x01})) << int(sub);
        EXPECT_EQ(bus.Ask({0x16, sub, 0x00}), kOk) << int(sub);
        EXPECT_EQ(bus.Ask({0x16, sub, 0x03}), kNg) << int(sub);
    }
    EXPECT_EQ(bus.Ask({0x16, 0x12}), (Bytes{0x16, 0x12, 0x01}));  // AGC fast
    EXPECT_EQ(bus.Ask({0x16, 0x12, 0x02}), kOk);
    EXPECT_EQ(bus.Ask({0x16, 0x12}), (Bytes{0x16, 0x12, 0x02}));
    EXPECT_EQ(bus.Ask({0x16, 0x12, 0x00}), kNg);
    EXPECT_EQ(bus.Ask({0x16, 0x47, 0x02}), kOk);  // full break-in
    EXPECT_EQ(bus.Ask({0x16, 0x40}), kNg);        // NR/ANF: IC-718 only
    EXPECT_EQ(bus.Ask({0x16, 0x41, 0x01}), kNg);
    EXPECT_EQ(bus.Ask({0x16, 0x99}), kNg);
    EXPECT_EQ(bus.Ask({0x16}), kNg);
    const sim::RadioState s = bus.radio.State();
    EXPECT_TRUE(s.attenuator);
    EXPECT_EQ(s.agc, 2);
    EXPECT_EQ(s.breakIn, 2);
}

TEST(SimRadioFunctions, ModelsWithoutOrWithOtherSubs)
{
    for (RadioModel model : {RadioModel::IC706, RadioModel::IC706MKII}) {
        SimBus bus(QuickConfig(model));
        EXPECT_EQ(bus.Ask({0x11}), kNg);
        EXPECT_EQ(bus.Ask({0x11, 0x20}), kNg);
        EXPECT_EQ(bus.Ask({0x16, 0x02}), kNg);
        EXPECT_EQ(bus.Ask({0x16, 0x12, 0x01}), kNg);
        EXPECT_EQ(bus.Ask({0x15, 0x02}), (Bytes{0x15, 0x02, 0x00, 0x00}));
    }
    SimBus ic718(QuickConfig(RadioModel::IC718));
    EXPECT_EQ(ic718.Ask({0x16, 0x42}), kNg);
    EXPECT_EQ(ic718.Ask({0x16, 0x43, 0x01}), kNg);
    EXPECT_EQ(ic718.Ask({0x16, 0x40, 0x01}), kOk);
    EXPECT_EQ(ic718.Ask({0x16, 0x41, 0x01}), kOk);
    EXPECT_EQ(ic718.Ask({0x16, 0x40}), (Bytes{0x16, 0x40, 0x01}));
    EXPECT_TRUE(ic718.radio.State().noiseReduction);
    EXPECT_TRUE(ic718.radio.State().autoNotch);
    EXPECT_EQ(ic718.Ask({0x11, 0x20}), kOk);
    EXPECT_EQ(ic718.Ask({0x16, 0x46, 0x01}), kOk);
}

TEST(SimRadioMeters, SignalTableDrivesSMeterAndSquelch)
{
    SimBus bus;
    EXPECT_EQ(bus.Ask({0x15, 0x02}), (Bytes{0x15, 0x02, 0x00, 0x00}));
    EXPECT_EQ(bus.Ask({0x15, 0x01}), (Bytes{0x15, 0x01, 0x00}));
    bus.radio.SetSignals(
        {{14000000, 14100000, 120}, {14070000, 14080000, 255}, {7000000, 7000000, 10}});
    EXPECT_EQ(bus.Ask({0x15, 0x02}), (Bytes{0x15, 0x02, 0x02, 0x55}));  // the strongest wins
    EXPECT_EQ(bus.Ask({0x15, 0x01}), (Bytes{0x15, 0x01, 0x01}));
    bus.radio.SetFrequencyByHand(14090000);
    EXPECT_EQ(bus.Ask({0x15, 0x02}), (Bytes{0x15, 0x02, 0x01, 0x20}));
    bus.radio.SetSquelchLevel(121);
    EXPECT_EQ(bus.Ask({0x15, 0x01}), (Bytes{0x15, 0x01, 0x00}));
    bus.radio.SetFrequencyByHand(7000000);
    EXPECT_EQ(bus.Ask({0x15, 0x02}), (Bytes{0x15, 0x02, 0x00, 0x10}));
    // While transmitting the receiver hears nothing.
    bus.radio.SetFrequencyByHand(14075000);
    bus.radio.Key(true);
    EXPECT_EQ(bus.Ask({0x15, 0x02}), (Bytes{0x15, 0x02, 0x00, 0x00}));
    EXPECT_EQ(bus.Ask({0x15, 0x01}), (Bytes{0x15, 0x01, 0x00}));
    bus.radio.Key(false);
    EXPECT_EQ(bus.Ask({0x15, 0x02}), (Bytes{0x15, 0x02, 0x02, 0x55}));
    EXPECT_EQ(bus.Ask({0x15, 0x03}), kNg);
    EXPECT_EQ(bus.Ask({0x15}), kNg);
}

TEST(SimRadioId, AnswersItsAddressAndRefusesTheRest)
{
    for (RadioModel model :
         {RadioModel::IC706, RadioModel::IC706MKII, RadioModel::IC706MKIIG, RadioModel::IC718}) {
        SimBus bus(QuickConfig(model));
        const uint8_t address = sim::DefaultAddress(model);
        EXPECT_EQ(bus.radio.Address(), address);
        EXPECT_EQ(bus.Ask({0x19, 0x00}), (Bytes{0x19, 0x00, address}));
        EXPECT_EQ(bus.Ask({0x19, 0x01}), kNg);
        for (uint8_t unknown : {0x00, 0x01, 0x12, 0x14, 0x17, 0x1A, 0x1C, 0xFB})
            EXPECT_EQ(bus.Ask({unknown}), kNg) << int(unknown);
    }
    sim::SimConfig config = QuickConfig();
    config.address = 0x70;
    SimBus other(config);
    EXPECT_EQ(other.Ask({0x19, 0x00}), (Bytes{0x19, 0x00, 0x70}));
    EXPECT_EQ(other.Frames()[0], (Bytes{0xFE, 0xFE, 0xE0, 0x70, 0x19, 0x00, 0x70, 0xFD}));
}

TEST(SimRadioScan, BandScanStopsOnAnOpenSquelch)
{
    sim::SimConfig config = QuickConfig();
    config.scanStepMs = 5;
    SimBus bus(config);
    EXPECT_EQ(bus.Ask({0x0E, 0x01}), kNg);  // no scan edges yet
    sim::MemoryChannel edge;
    edge.used = true;
    edge.frequencyHz = 7000000;
    ASSERT_TRUE(bus.radio.SetChannel(100, edge));
    edge.frequencyHz = 7200000;
    ASSERT_TRUE(bus.radio.SetChannel(101, edge));
    bus.radio.SetSignals({{7047500, 7048500, 90}});
    // The scan's own frames may follow the OK before the bus is quiet: look at the first answer.
    bus.radio.WaitQuiet(5000);
    bus.Clear();
    bus.Send(Bytes{0xFE, 0xFE, bus.radio.Address(), 0xE0, 0x0E, 0x01, 0xFD});
    ASSERT_TRUE(
        bus.radio.WaitForState([](const sim::RadioState& s) { return !s.scanning; }, 20000));
    bus.radio.WaitQuiet(5000);
    const std::vector<Bytes> answers = bus.Frames();
    ASSERT_FALSE(answers.empty());
    EXPECT_EQ(answers[0], (Bytes{0xFE, 0xFE, 0xE0, bus.radio.Address(), 0xFB, 0xFD}));
    const sim::RadioState s = bus.radio.State();
    EXPECT_EQ(s.frequencyHz, 7048000u);  // 1 kHz steps from the lower edge
    EXPECT_TRUE(s.squelchOpen);
    EXPECT_EQ(bus.Ask({0x15, 0x01}), (Bytes{0x15, 0x01, 0x01}));
    EXPECT_EQ(bus.Ask({0x0E, 0x02}), kNg);
}

TEST(SimRadioScan, MemoryScanVisitsUsedChannelsAndStops)
{
    sim::SimConfig config = QuickConfig();
    config.scanStepMs = 3600 * 1000;  // steps only when the test asks
    SimBus bus(config);
    sim::MemoryChannel ch;
    ch.used = true;
    ch.frequencyHz = 145500000;
    ch.mode = 5;
    ASSERT_TRUE(bus.radio.SetChannel(2, ch));
    EXPECT_EQ(bus.Ask({0x08}), kOk);
    EXPECT_EQ(bus.Ask({0x0E, 0x01}), kNg);  // one used channel is not enough
    ch.frequencyHz = 145600000;
    ASSERT_TRUE(bus.radio.SetChannel(5, ch));
    ch.frequencyHz = 145700000;
    ASSERT_TRUE(bus.radio.SetChannel(9, ch));
    bus.radio.SetSignals({{145700000, 145700000, 200}});
    EXPECT_EQ(bus.Ask({0x0E, 0x01}), kOk);
    bus.radio.StepScan();
    EXPECT_EQ(bus.radio.State().channel, 2);
    bus.radio.StepScan();
    EXPECT_EQ(bus.radio.State().channel, 5);
    EXPECT_TRUE(bus.radio.State().scanning);
    bus.radio.StepScan();
    EXPECT_EQ(bus.radio.State().channel, 9);
    EXPECT_FALSE(bus.radio.State().scanning);
    // Stop is always accepted.
    EXPECT_EQ(bus.Ask({0x0E, 0x01}), kOk);
    EXPECT_EQ(bus.Ask({0x0E, 0x00}), kOk);
    EXPECT_FALSE(bus.radio.State().scanning);
}

}  // namespace

namespace {

// The scan-edge programming of a controller: on any channel, programmed or blank, 05 and 06 set a
// working setting that 0B leaves and 09 stores; selecting a channel drops it. The radio then scans
// between the edges and stops where a signal opens the squelch.
TEST(SimRadioMemory, ScanEdgesAreProgrammedOnBlankChannelsAndTheScanStopsOnASignal)
{
    SimBus bus;
    EXPECT_EQ(bus.Ask({0x08}), kOk);
    EXPECT_EQ(bus.Ask({0x08, 0x01, 0x00}), kOk);
    EXPECT_EQ(bus.Ask({0x03}), (Bytes{0x03, 0xFF}));
    EXPECT_EQ(bus.Ask({0x06, 0x00, 0x01}), kOk);
    EXPECT_EQ(bus.Ask({0x05, 0x00, 0x00, 0x00, 0x07, 0x00}), kOk);
    EXPECT_EQ(bus.Ask({0x03}), (Bytes{0x03, 0x00, 0x00, 0x00, 0x07, 0x00}));
    EXPECT_EQ(bus.Ask({0x0B}), kOk);
    EXPECT_FALSE(bus.radio.Channel(100).used);
    EXPECT_EQ(bus.Ask({0x03}), (Bytes{0x03, 0x00, 0x00, 0x00, 0x07, 0x00}));
    EXPECT_EQ(bus.Ask({0x09}), kOk);
    EXPECT_TRUE(bus.radio.Channel(100).used);
    EXPECT_EQ(bus.radio.Channel(100).frequencyHz, 7000000u);
    EXPECT_EQ(bus.radio.Channel(100).mode, 0);

    // A typed setting on a blank channel is dropped by the next selection.
    EXPECT_EQ(bus.Ask({0x08, 0x00, 0x42}), kOk);
    EXPECT_EQ(bus.Ask({0x05, 0x00, 0x00, 0x50, 0x07, 0x00}), kOk);
    EXPECT_EQ(bus.Ask({0x08, 0x00, 0x42}), kOk);
    EXPECT_EQ(bus.Ask({0x03}), (Bytes{0x03, 0xFF}));
    EXPECT_FALSE(bus.radio.Channel(42).used);

    // A programmed channel is overwritten the same way.
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(bus.Ask({0x08, 0x01, 0x01}), kOk);
        EXPECT_EQ(bus.Ask({0x06, 0x00, 0x01}), kOk);
        EXPECT_EQ(
            bus.Ask({0x05, 0x00, 0x00, static_cast<uint8_t>(pass == 0 ? 0x20 : 0x10), 0x07, 0x00}),
            kOk);
        EXPECT_EQ(bus.Ask({0x0B}), kOk);
        EXPECT_EQ(bus.Ask({0x09}), kOk);
    }
    EXPECT_EQ(bus.radio.Channel(101).frequencyHz, 7100000u);

    EXPECT_EQ(bus.Ask({0x07}), kOk);
    EXPECT_EQ(bus.Ask({0x05, 0x00, 0x00, 0x00, 0x07, 0x00}), kOk);
    EXPECT_EQ(bus.Ask({0x10, 0x02}), kOk);  // 1 kHz
    bus.radio.SetSignals({{7050000, 7050000, 120}});
    EXPECT_EQ(bus.Ask({0x0E, 0x01}), kOk);
    for (int i = 0; i < 200 && bus.radio.State().scanning; ++i)
        bus.radio.StepScan();
    EXPECT_FALSE(bus.radio.State().scanning);
    EXPECT_EQ(bus.radio.State().frequencyHz, 7050000u);
    EXPECT_TRUE(bus.radio.State().squelchOpen);
}

}  // namespace
