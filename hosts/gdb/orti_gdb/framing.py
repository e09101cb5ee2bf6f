"""Message framing on the plug-in's pipes.

A message is one JSON object; it ends where its outermost brace closes (braces inside strings
do not count) and nothing separates two messages. Only white space may stand between them:
anything else means the stream is out of step, and the host stops trusting it.
"""

# The plug-in reads each message into a 64 KiB buffer that keeps a terminating NUL.
MAX_MESSAGE_BYTES = 65535

_BLANKS = b" \t\r\n\f"


class FramingError(Exception):
    """The byte stream does not hold JSON objects one after the other."""


class MessageScanner:
    """Cuts a byte stream into complete messages; feed() may receive any split of it."""

    def __init__(self, limit=MAX_MESSAGE_BYTES):
        self._limit = limit
        self._buffer = bytearray()
        self._scanned = 0  # bytes of _buffer already looked at
        self._depth = 0
        self._in_string = False
        self._escaped = False

    def pending(self):
        """Bytes of a message that has begun but not ended."""
        return len(self._buffer)

    def feed(self, data):
        """Adds bytes; returns the messages they complete, oldest first."""
        self._buffer += data
        messages = []
        i = self._scanned
        buf = self._buffer
        while i < len(buf):
            c = buf[i]
            if self._depth == 0:
                if c in _BLANKS:
                    # Blanks between messages belong to no message.
                    del buf[i]
                    continue
                if c != 0x7B:  # '{'
                    raise FramingError("expected a JSON object, got %r" % bytes(buf[i:i + 40]))
                self._depth = 1
            elif self._in_string:
                if self._escaped:
                    self._escaped = False
                elif c == 0x5C:  # backslash
                    self._escaped = True
                elif c == 0x22:  # '"'
                    self._in_string = False
            elif c == 0x22:
                self._in_string = True
            elif c == 0x7B:
                self._depth += 1
            elif c == 0x7D:  # '}'
                self._depth -= 1
                if self._depth == 0:
                    messages.append(bytes(buf[:i + 1]))
                    del buf[:i + 1]
                    i = 0
                    continue
            i += 1
        self._scanned = i
        if len(buf) > self._limit:
            raise FramingError("a message longer than %d bytes did not end" % self._limit)
        return messages
