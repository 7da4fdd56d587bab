// framedecoder.h - qremote::cFrameDecoder, cuts a byte stream into length-prefixed frames.
// SPDX-License-Identifier: MIT
#ifndef QOR_REMOTE_FRAMEDECODER_H
#define QOR_REMOTE_FRAMEDECODER_H

#include "qor_core/std/array.h"
#include "remote/remoteglobal.h"

namespace qremote {

/// The framing of the remote-call protocol: every message travels as a frame of
/// a 4-byte little-endian payload length followed by the payload. Frames may be cut
/// anywhere by the transport; the decoder collects bytes until a frame is whole.
///
/// A length above kMaxFrameSize, or below kMinFrameSize (no message is shorter),
/// is a malformed stream: next() throws, and the decoder refuses to go on (every
/// later call throws again) since the position of the next frame is lost. The
/// decoder never allocates more than the bytes it was actually given.
class QOR_REMOTE_EXPORT cFrameDecoder
{
public:
    enum
    {
        kHeaderSize = 4,
        /// The smallest payload: the message kind, one piUInt32 item.
        kMinFrameSize = 8
    };

    cFrameDecoder();

    /// Appends received bytes.
    void feed(const char* pData, unsigned iSize);
    /// Moves the payload of the next whole frame into oPayload and returns true;
    /// false when no whole frame is buffered. Throws cRuntimeException for a
    /// malformed length (see the class comment).
    bool next(qstd::tArray<char>& oPayload);
    /// Bytes received and not yet handed out.
    unsigned buffered() const { return moBuffer.size() - miStart; }
    /// True once a malformed length was found.
    bool failed() const { return mbFailed; }
    /// Forgets everything, also a failure.
    void reset();

    /// Appends a frame holding oPayload to oOut. oPayload must not be longer than
    /// kMaxFrameSize (a cBugException otherwise).
    static void appendFrame(qstd::tArray<char>& oOut, const char* pPayload, unsigned iSize);

private:
    qstd::tArray<char> moBuffer;
    unsigned miStart; ///< first byte of moBuffer not yet handed out
    bool mbFailed;
};

} // namespace qremote

#endif // QOR_REMOTE_FRAMEDECODER_H
