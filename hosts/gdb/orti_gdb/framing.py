"""Message framing on the plug-in's pipes.

A message is one JSON object; it ends where its outermost brace closes (braces inside strings
do not count) and nothing separates two messages. Only white space may stand between them:
anything else means the stream is out of step, and the host stops trusting it.
"""

import json
import re

# The plug-in reads each message into a 64 KiB buffer that keeps a terminating NUL.
MAX_MESSAGE_BYTES = 65535

_BLANKS = b" \t\r\n\f"
_LEADING_BLANKS = re.compile(b"[" + re.escape(_BLANKS) + b"]*")
# Inside an object only braces and strings matter: a whole string (a backslash takes the byte
# after it along), a brace, or the quote of a string whose end has not arrived yet.
_TOKEN = re.compile(rb'"[^"\\]*(?:\\.[^"\\]*)*"|[{}]|"', re.S)
_OPEN, _CLOSE = 0x7B, 0x7D

_DECODER = json.JSONDecoder()


class FramingError(Exception):
    """The byte stream does not hold JSON objects one after the other."""


class Message(bytes):
    """The bytes of one message as they crossed the pipe; value is its JSON object when the
    scanner already parsed it, else None (the reader parses it then)."""

    value = None


def _whole_object(body):
    """The JSON object that body is from its first byte to its last, or None. Where it is one,
    its extent is the one the brace count gives: a JSON string hides its braces and escaped
    quotes just as the count skips them. Texts are read as the session reads them (invalid
    UTF-8 replaced, which never takes an ASCII byte along)."""
    if body[-1:] != b"}":
        return None
    text = body.decode("utf-8", "replace")
    try:
        value, end = _DECODER.raw_decode(text)
    except ValueError:
        return None
    return value if end == len(text) else None


class MessageScanner:
    """Cuts a byte stream into complete messages; feed() may receive any split of it."""

    def __init__(self, limit=MAX_MESSAGE_BYTES):
        self._limit = limit
        self._buffer = bytearray()
        self._scanned = 0  # bytes of _buffer already looked at; never inside a string
        self._depth = 0

    def pending(self):
        """Bytes of a message that has begun but not ended."""
        return len(self._buffer)

    def feed(self, data):
        """Adds bytes; returns the messages they complete (Message), oldest first."""
        if not self._buffer:
            # Nearly every read brings exactly one whole message: the JSON reader frames and
            # parses it in one pass, in C.
            body = data.strip(_BLANKS)
            if body[:1] == b"{":
                value = _whole_object(body)
                if value is not None:
                    message = Message(body)
                    message.value = value
                    return [message]
        self._buffer += data
        return self._scan()

    def _scan(self):
        buf = self._buffer
        messages = []
        pos, depth = self._scanned, self._depth
        while True:
            if depth == 0:
                # Blanks between messages belong to no message.
                del buf[:_LEADING_BLANKS.match(buf).end()]
                if not buf:
                    pos = 0
                    break
                if buf[0] != _OPEN:
                    raise FramingError("expected a JSON object, got %r" % bytes(buf[:40]))
                depth, pos = 1, 1
            token = _TOKEN.search(buf, pos)
            if token is None:
                pos = len(buf)
                break
            start = token.start()
            c = buf[start]
            if c == _OPEN:
                depth += 1
            elif c == _CLOSE:
                depth -= 1
                if depth == 0:
                    end = token.end()
                    messages.append(Message(buf[:end]))
                    del buf[:end]
                    continue
            elif token.end() - start == 1:
                # The quote of a string that has not ended yet: looked at again from there
                # when more bytes come.
                pos = start
                break
            pos = token.end()
        self._scanned, self._depth = pos, depth
        if len(buf) > self._limit:
            raise FramingError("a message longer than %d bytes did not end" % self._limit)
        return messages
