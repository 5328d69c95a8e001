#include "tools/CommandLine.h"
#include "tools/HostError.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Arguments = std::vector<std::string>;
using Command = CommandLine::Command;

std::string usageErrorOf(const Arguments& arguments) {
    try {
        CommandLine::parse(arguments);
    } catch (const UsageError& error) {
        return error.what();
    }
    return "(accepted)";
}

} // namespace

TEST(CommandLine, ChoosesTheCommandFromTheArguments) {
    struct Case {
        Arguments arguments;
        Command command;
        std::string input;
        std::string output;
    };
    const Case cases[] = {
        {{}, Command::Demo, "", "out/demo"},
        {{"--output", "demo"}, Command::Demo, "", "demo"},
        {{"-o", "x"}, Command::Demo, "", "x"},
        {{"in.wav", "out.wav"}, Command::Render, "in.wav", "out.wav"},
        {{"in.wav", "--output=out.flac"}, Command::Render, "in.wav", "out.flac"},
        {{"--", "-in.wav", "-out.wav"}, Command::Render, "-in.wav", "-out.wav"},
        {{"--list"}, Command::List, "", ""},
        {{"list", "--plugin", "p.so"}, Command::List, "", ""},
        {{"--benchmark", "2.5", "--program", "3"}, Command::Benchmark, "", ""},
        {{"in.wav", "--help"}, Command::Help, "", ""},
        {{"--unknown", "-h"}, Command::Help, "", ""}, // help wins over mistakes
    };
    for (const Case& c : cases) {
        const CommandLine options = CommandLine::parse(c.arguments);
        EXPECT_EQ(options.command, c.command) << c.arguments.size();
        EXPECT_EQ(options.inputPath, c.input);
        if (c.command != Command::Help) {
            EXPECT_EQ(options.outputPath, c.output);
        }
    }
}

TEST(CommandLine, ReadsEveryOptionInBothSpellings) {
    const CommandLine options =
        CommandLine::parse({"--plugin", "/x/p.so", "--program=dark room", "--set", "Gain=0.25",
                            "--set=a=b=1", "--block-size", "37", "--tempo=92.5", "--start-beat",
                            "-4", "--tail", "0", "in.aiff", "out.wav"});
    EXPECT_EQ(options.pluginPath, "/x/p.so");
    ASSERT_TRUE(options.program.has_value());
    EXPECT_EQ(*options.program, "dark room");
    ASSERT_EQ(options.settings.size(), 2u);
    EXPECT_EQ(options.settings[0].parameter, "Gain");
    EXPECT_EQ(options.settings[0].value, 0.25f);
    EXPECT_EQ(options.settings[1].parameter, "a=b"); // names may hold '=', values cannot
    EXPECT_EQ(options.settings[1].value, 1.0f);
    EXPECT_EQ(options.blockSize, 37);
    EXPECT_EQ(options.tempo, 92.5);
    EXPECT_EQ(options.startBeat, -4.0);
    ASSERT_TRUE(options.tailSeconds.has_value());
    EXPECT_EQ(*options.tailSeconds, 0.0);
}

TEST(CommandLine, ReadsAnEditorPictureWithItsGesture) {
    const CommandLine drag =
        CommandLine::parse({"--editor-png", "e.png", "--program", "2", "--drag=10,20,751,511",
                            "--shift", "--play", "1.5"});
    EXPECT_EQ(drag.command, Command::EditorPicture);
    EXPECT_EQ(drag.editorPicturePath, "e.png");
    EXPECT_EQ(drag.gesture.kind, EditorGesture::Kind::Drag);
    EXPECT_EQ(drag.gesture.fromX, 10);
    EXPECT_EQ(drag.gesture.fromY, 20);
    EXPECT_EQ(drag.gesture.toX, 751);
    EXPECT_EQ(drag.gesture.toY, 511);
    EXPECT_TRUE(drag.gesture.shift);
    EXPECT_FALSE(drag.gesture.alt);
    EXPECT_EQ(drag.playSeconds, 1.5);
    const CommandLine click = CommandLine::parse({"--alt", "--click", "0,0", "--editor-png=e"});
    EXPECT_EQ(click.gesture.kind, EditorGesture::Kind::Click);
    EXPECT_EQ(click.gesture.toX, 0);
    EXPECT_TRUE(click.gesture.alt);
    EXPECT_EQ(CommandLine::parse({"--editor-png", "e"}).gesture.kind, EditorGesture::Kind::None);
}

TEST(CommandLine, RejectsMistakesWithAMessageNamingThem) {
    struct Case {
        Arguments arguments;
        std::string message;
    };
    const Case cases[] = {
        {{"--frobnicate"}, "unknown option --frobnicate"},
        {{"-x"}, "unknown option -x"},
        {{"--plugin"}, "--plugin expects a value"},
        {{"--plugin="}, "--plugin expects a value"},
        {{"in.wav"}, "no output file given for in.wav"},
        {{"in.wav", "out.wav", "more.wav"}, "unexpected argument \"more.wav\""},
        {{"in.wav", "out.wav", "-o", "other.wav"}, "the output file is given twice"},
        {{"--list", "in.wav"}, "unexpected argument \"in.wav\" with --list"},
        {{"--block-size", "0"}, "--block-size 0 is out of range (1..1048576)"},
        {{"--block-size", "1048577"}, "out of range"},
        {{"--block-size", "12.5"}, "--block-size expects a whole number"},
        {{"--block-size", "99999999999999999999"}, "expects a whole number"},
        {{"--block-size", "64k"}, "expects a whole number"},
        {{"--tempo", "0"}, "--tempo 0 is out of range"},
        {{"--tempo", "1000"}, "out of range"},
        {{"--tempo", "nan"}, "--tempo expects a number, not \"nan\""},
        {{"--tempo", "inf"}, "expects a number"},
        {{"--tempo", "1e999"}, "expects a number"},
        {{"--tempo", ""}, "expects a number"},
        {{"--start-beat", "2e6"}, "out of range"},
        {{"--tail", "-1"}, "--tail -1 is out of range"},
        {{"--tail", "3601"}, "out of range"},
        {{"--benchmark", "0"}, "--benchmark expects a number of seconds above 0"},
        {{"--benchmark", "1", "in.wav"}, "--benchmark takes no files and no --list"},
        {{"--set", "Gain"}, "--set expects NAME=VALUE, not \"Gain\""},
        {{"--set", "=0.5"}, "--set expects NAME=VALUE"},
        {{"--set", "Gain=1.5"}, "--set Gain 1.5 is out of range"},
        {{"--set", "Gain=-0.1"}, "out of range"},
        {{"--set", "Gain=nan"}, "expects a number"},
        {{"--set", "Gain="}, "expects a number"},
        {{"--editor-png", "e.png", "in.wav"}, "--editor-png takes no input or output file"},
        {{"--editor-png", "e.png", "--plugin", "p.so"}, "--plugin does not apply"},
        {{"--click", "1,2"}, "need --editor-png"},
        {{"--alt", "in.wav", "out.wav"}, "need --editor-png"},
        {{"--editor-png", "e.png", "--click", "752,0"}, "--click 752 is out of range (0..751)"},
        {{"--editor-png", "e.png", "--click", "0,512"}, "out of range (0..511)"},
        {{"--editor-png", "e.png", "--click", "1,2,3"}, "--click expects X,Y"},
        {{"--editor-png", "e.png", "--drag", "1,2"}, "--drag expects X1,Y1,X2,Y2"},
        {{"--editor-png", "e.png", "--drag", "1,2,3,x"}, "expects a whole number"},
        {{"--editor-png", "e.png", "--click", "1,2", "--drag", "1,2,3,4"}, "only one"},
        {{"--editor-png", "e.png", "--play", "-1"}, "--play -1 is out of range"},
    };
    for (const Case& c : cases) {
        const std::string message = usageErrorOf(c.arguments);
        EXPECT_NE(message.find(c.message), std::string::npos)
            << "arguments: " << (c.arguments.empty() ? "" : c.arguments.front())
            << "\nmessage: " << message;
    }
}
