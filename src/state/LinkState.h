#pragma once
// Program-wide state of the radio link that outlives a single transfer.
#include <cstdint>
#include <string>

namespace tarvane {

// Identify: handshake and identification only, then "END" (finding radios on
// many ports at once); nothing is read beyond the identity, nothing written.
enum class LinkOperation { Idle, ReadRadio, WriteRadio, ReadRadioInfo, Identify };
enum class LinkStep { AwaitHandshakeAck, AwaitIdentReply, AwaitPasswordBlock, TransferBlocks, AwaitEndAck };

struct RadioIdentity {
    std::string RadioModelCode;
    uint8_t RadioModelType = 0;
    std::string RadioFirmwareVersion;
    bool CtcssDcsSupported = false;
};

struct LinkState {
    bool NoEchoMode = false;          // kept from one transfer to the next
    int16_t PasswordRetryCounter = 0; // 0 at program start
    RadioIdentity Identity;
    int16_t SerialPortNumber = 1; // 1..16
    bool VerifyWrite = false;     // read every write back, even on a clean line
};

} // namespace tarvane
