#pragma once

#include <cstddef>
#include <cstdint>

// The recorder's command set and memory regions, in one table. Commands are
// counted byte strings; a zero byte is sent like any other.
namespace logger::commands {

constexpr std::uint8_t kReadBlock = 0x33;    // 33 hi lo -> at least 34 bytes
constexpr std::uint8_t kWriteByte = 0x22;    // 22 addr value -> no answer
constexpr std::uint8_t kNewRecording = 0xA5; // single byte, no answer

constexpr std::size_t kAnswerLength = 34;    // every read is answered with 34+ bytes
constexpr std::size_t kBlockLength = 32;     // of which the first 32 are memory
constexpr std::uint16_t kBlockStride = 0x20;

constexpr int kNewRecordingPauseMs = 60;     // the recorder needs this after A5

// Regions read, by start address.
constexpr std::uint16_t kPage0Address = 0x0000;
constexpr std::uint16_t kPage2Address = 0x0040;
constexpr std::uint16_t kSerialNumberAddress = 0x0200;
constexpr std::uint16_t kAlarmRecordsAddress = 0x0220;
constexpr int kAlarmRecordBlocks = 3;
constexpr std::uint16_t kHistogramAddress = 0x0800;
constexpr int kHistogramBlocks = 4;
constexpr std::uint16_t kTemperatureLogAddress = 0x1000;
constexpr int kTemperatureLogBlocks = 64;
// A full download: page 0, page 2, the serial number, then the blocks above.
constexpr int kReadAllBlocks = 3 + kAlarmRecordBlocks + kHistogramBlocks + kTemperatureLogBlocks;

// Write addresses (one byte, inside pages 0 and 2).
constexpr std::uint8_t kClockSeconds = 0x00;  // .. 0x06 year, BCD
constexpr std::uint8_t kLowAlarm = 0x0B;
constexpr std::uint8_t kHighAlarm = 0x0C;
constexpr std::uint8_t kSampleRate = 0x0D;
constexpr std::uint8_t kControl = 0x0E;
constexpr std::uint8_t kStartDelayLow = 0x12;
constexpr std::uint8_t kStartDelayHigh = 0x13;
constexpr std::uint8_t kDescription = 0x40;   // .. 0x5F

constexpr std::uint8_t kControlSetup = 0x50;
constexpr std::uint8_t kControlImmediateStart = 0x00;

}  // namespace logger::commands
