#include "gtp/LineReader.h"

#include "GtpScript.h"

#include <gtest/gtest.h>

#include <future>

namespace {

using Result = LineReader::Result;

TEST(LineReader, SplitsLinesCutsLongOnesAndKeepsAnUnfinishedLastLine) {
    InputPipe input;
    LineReader reader(input.readEnd());
    const std::string longLine(LineReader::longestLine + 10, 'x');
    std::string line;
    auto writer = std::async(std::launch::async, [&] {
        input.write("first\r\n\nsecond\n" + longLine + "\nlast");
        input.closeWriteEnd();
    });
    EXPECT_EQ(reader.next(line), Result::Line);
    EXPECT_EQ(line, "first\r");
    EXPECT_EQ(reader.next(line), Result::Line);
    EXPECT_EQ(line, "");
    EXPECT_EQ(reader.next(line), Result::Line);
    EXPECT_EQ(line, "second");
    EXPECT_EQ(reader.next(line), Result::LineTooLong);
    EXPECT_EQ(line.size(), LineReader::longestLine);
    EXPECT_EQ(reader.next(line), Result::Line);
    EXPECT_EQ(line, "last");
    EXPECT_EQ(reader.next(line), Result::End);
    EXPECT_EQ(reader.next(line), Result::End);
    writer.wait();
}

TEST(LineReader, ACancelEndsAWaitForInputThatNeverComes) {
    InputPipe input; // never written, never closed
    LineReader reader(input.readEnd());
    std::string line;
    auto reading = std::async(std::launch::async, [&] { return reader.next(line); });
    EXPECT_EQ(reading.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    reader.cancel();
    EXPECT_EQ(reading.get(), Result::End);
}

} // namespace
