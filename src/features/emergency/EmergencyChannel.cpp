#include "features/emergency/EmergencyChannel.h"

#include "freq/ChannelSlots.h"
#include "image/ImageOps.h"

namespace tarvane {

bool LoadEmergencyChannel(const RadioImage& image, EmergencyRecord& record) {
    // EmgChannel 0 means no channel; 40 * group + 0 would name the last channel
    // of the previous group.
    if (record.EmgChannel < 1 || record.EmgChannel > 40 || record.EmgGroup < 0 || record.EmgGroup > 9)
        return false;
    int index = FindChannelSlot(image, 40 * record.EmgGroup + record.EmgChannel);
    if (index < 0) return false;
    const ChannelRecord& ch = image.Channels[static_cast<size_t>(index)];
    ChannelRecord& to = record.Channel;
    to.RxFreq = ch.RxFreq;
    to.Scan = ch.Scan;
    to.TSQ = ch.TSQ;
    to.RDCT = ch.RDCT;
    to.TDCT = ch.TDCT;
    const ChannelRecord& from = ch.Public >= 1 ? image.Settings.CommonChannel : ch;
    to.DUP = from.DUP;
    to.OffSetFre = from.OffSetFre;
    to.HI_CUT = from.HI_CUT;
    to.BUSY = from.BUSY;
    to.NB = from.NB;
    to.AM_FM = from.AM_FM;
    to.RBTone = from.RBTone;
    to.DTMF_BOT = from.DTMF_BOT;
    to.DTMF_EOT = from.DTMF_EOT;
    to.DTMF_Call = from.DTMF_Call;
    to.Tx_Power = from.Tx_Power;
    to.Add_Sub_5K = from.Add_Sub_5K;
    return true;
}

} // namespace tarvane
