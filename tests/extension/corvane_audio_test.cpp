// The recorder of the real program driven from a client process: with audio switched on and the
// driver giving no audio, PortAudio records from ALSA's null device (the tests' ALSA
// configuration) and two seconds recorded through code 15 end as a valid WAV file, named
// automatically by the program's clock.
#include "CorvaneProgram.h"
#include "Ini.h"
#include "WaveFile.h"

#include <cstdlib>
#include <filesystem>

using namespace ext_test;

TEST(CorvaneAudio, AClientRecordsTwoSecondsIntoAValidWaveFile)
{
    ASSERT_NE(std::getenv("ALSA_CONFIG_PATH"), nullptr) << "the test's ALSA configuration";
    ::setenv("SIMRADIO_AUDIO", "0", 1);
    CorvaneFolder folder;
    {
        CIni ini;
        ini.SetPath((folder.folder / "Corvane.ini").c_str());
        ini.WriteInt("AudioRecorder", "Abilitato", 1);
        ini.WriteString("AudioRecorder", "AudioFile", "AUTO");
    }
    ::setenv("XDG_CONFIG_HOME", folder.folder.path.c_str(), 1);
    folder.SetEnvironment();
    ::setenv("CORVANE_TEST_CLOCK", "2030-01-01T11:59:58Z", 1);
    ::setenv("TZ", "UTC", 1);
    MainProgramProcess process({folder.folder / "Corvane"}, folder.folder / "stderr.txt");
    ::unsetenv("CORVANE_TEST_CLOCK");
    ::unsetenv("TZ");
    ASSERT_TRUE(folder.Serving(process.Pid())) << folder.Trace();

    Client client([](Library& l, const Client::Link& out) {
        out.Say("init", l.ExtInit());
        out.Say("audio", l.ExtIfAudio());
        out.Say("record", l.ExtRecord(1));
        ::usleep(2000000);
        out.Say("stop", l.ExtRecord(0));
    });
    int status = -1;
    std::map<std::string, long long> got = AsMap(client.Finish(&status));
    ::kill(process.Pid(), SIGTERM);
    EXPECT_EQ(process.WaitExit(), 0);
    ::unsetenv("SIMRADIO_AUDIO");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(got["init"], 1);
    EXPECT_EQ(got["audio"], 1);
    EXPECT_EQ(got["record"], 0) << testing_support::GetFile(folder.folder / "stderr.txt");
    EXPECT_EQ(got["stop"], 0);

    std::string recorded;
    for (const auto& entry : std::filesystem::directory_iterator(folder.folder.path))
        if (entry.path().filename().string().rfind("Vek300101", 0) == 0)
            recorded = entry.path().string();
    ASSERT_FALSE(recorded.empty()) << "no recording named by the test clock's day";
    audio::WaveLayout layout;
    ASSERT_EQ(audio::ReadWaveLayout(recorded, layout), 0);
    EXPECT_TRUE(layout.dataIsLast);
    EXPECT_GT(layout.dataSize, 0u);
    EXPECT_EQ(layout.dataSize % layout.format.blockAlign, 0u);
    EXPECT_EQ(layout.fileSize, layout.dataStart + layout.dataSize + (layout.dataSize & 1u));
}
