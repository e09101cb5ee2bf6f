"""Plain text tables with aligned columns."""

GAP = "  "


def format_table(headers, rows):
    """headers: list of texts; rows: lists of texts (None for an empty cell). Each column is
    as wide as its widest cell; cells are left-aligned; the last column has no padding."""
    cells = [[("" if c is None else str(c)) for c in row] for row in rows]
    # A column is never narrower than one character, so that its rule shows where it is.
    widths = [max(1, len(h)) for h in headers]
    for row in cells:
        for i, c in enumerate(row):
            widths[i] = max(widths[i], len(c))
    lines = []
    for row in [list(headers)] + cells:
        line = GAP.join(c.ljust(widths[i]) for i, c in enumerate(row))
        lines.append(line.rstrip())
    lines.insert(1, GAP.join("-" * w for w in widths))
    return "\n".join(lines) + "\n"


def table_width(headers, rows):
    widths = [len(h) for h in headers]
    for row in rows:
        for i, c in enumerate(row):
            widths[i] = max(widths[i], len("" if c is None else str(c)))
    return sum(widths) + len(GAP) * (len(widths) - 1)


def format_objects(headers, rows, limit):
    """One row per object when that fits in limit columns; otherwise one row per attribute
    and one column per object (the first header names the rows), in as many blocks of
    objects as it takes."""
    if table_width(headers, rows) <= limit or not rows:
        return format_table(headers, rows)
    # Turned, the first column holds the headers and each object's column is as wide as its
    # widest cell, its number included: a block is as wide as the sum of its columns.
    first = max(len(h) for h in headers)
    widths = [max(len("" if r[i] is None else str(r[i])) for i in range(len(headers)))
              for r in rows]
    out = []
    start = 0
    while start < len(rows):
        width = first + len(GAP) + widths[start]
        end = start + 1
        while end < len(rows) and width + len(GAP) + widths[end] <= limit:
            width += len(GAP) + widths[end]
            end += 1
        t_headers, t_rows = _transpose(headers, rows[start:end])
        out.append(format_table(t_headers, t_rows))
        start = end
    return "\n".join(out)


def _transpose(headers, rows):
    # The first column (the object number) heads the columns of the turned table.
    t_headers = [headers[0]] + [("" if r[0] is None else str(r[0])) for r in rows]
    t_rows = [[headers[i]] + [r[i] for r in rows] for i in range(1, len(headers))]
    return t_headers, t_rows


BAR_WIDTH = 20


def usage_bar(used, size, overflowed=False):
    """A small bar of the share used: one '#' per twentieth, rounded up so that any use shows,
    and '!' after it for a stack that probably overflowed."""
    if not size:
        return ""
    filled = min(BAR_WIDTH, (used * BAR_WIDTH + size - 1) // size)
    return "[" + "#" * filled + "." * (BAR_WIDTH - filled) + "]" + ("!" if overflowed else "")
