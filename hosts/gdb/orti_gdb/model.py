"""The plug-in's description of the loaded model, from the records of its describe command:

    kind<TAB>TYPEID<TAB>TYPENAME<TAB>OBJECTCOUNT<TAB>DESCRIPTION
    attr<TAB>TYPEID<TAB>OBJ<TAB>ATTRID<TAB>NAME<TAB>TYPE<TAB>ELEMENTS<TAB>DESCRIPTION

OBJ is "*" for an attribute that every object having it names alike, else the object's index.
"""

ANY_OBJECT = "*"


class Attribute:
    def __init__(self, name, kind, elements, description):
        self.name = name
        self.kind = kind  # CTYPE, ENUM or STRING
        self.elements = elements
        self.description = description


class Kind:
    """One object type: its id, name, object count and description, and its attributes by id
    and then by object ("*" or an index)."""

    def __init__(self, type_id, name, count, description):
        self.type_id = type_id
        self.name = name
        self.count = count
        self.description = description
        self.attributes = {}  # attribute id -> {ANY_OBJECT or index: Attribute}

    def attribute_ids(self):
        return sorted(self.attributes)

    def has(self, attr_id, index):
        """Whether the index-th object may have the attribute: every object of a "*" record
        may (the plug-in does not say which lack it), only the named ones of the others."""
        by_object = self.attributes.get(attr_id, {})
        return ANY_OBJECT in by_object or index is None or index in by_object

    def elements(self, attr_id):
        """The most per-core elements that any object gives the attribute (0 when none has
        it)."""
        return max([0] + [a.elements for a in self.attributes.get(attr_id, {}).values()])

    def max_elements(self):
        """The most per-core elements of any of the kind's attributes (1 for none)."""
        return max([1] + [self.elements(attr_id) for attr_id in self.attributes])

    def column(self, attr_id):
        """The heading of the attribute's column: its name, or its names where objects name
        it differently."""
        names = []
        for _, attribute in sorted(self.attributes.get(attr_id, {}).items(), key=_object_order):
            if attribute.name not in names:
                names.append(attribute.name)
        return "/".join(names) if names else "#%d" % attr_id

    def id_of(self, name):
        """The id of the attribute named name (letter case ignored), or None."""
        for attr_id in self.attribute_ids():
            if any(a.name.lower() == name.lower() for a in self.attributes[attr_id].values()):
                return attr_id
        return None


def _object_order(item):
    key, _ = item
    return -1 if key == ANY_OBJECT else key


class Model:
    def __init__(self, kinds):
        self.kinds = kinds  # type id -> Kind, in type-id order

    def type_ids(self):
        return list(self.kinds)

    def kind(self, type_id):
        return self.kinds.get(type_id)

    def find(self, word):
        """The kind a user's word names: a type id, or a type name (letter case ignored)."""
        try:
            return self.kinds.get(int(word, 0))
        except ValueError:
            pass
        for kind in self.kinds.values():
            if kind.name.lower() == word.lower():
                return kind
        return None


def parse(text):
    """The Model of describe's records. A line that is no record is skipped."""
    kinds = {}
    for line in text.split("\n"):
        fields = line.split("\t")
        try:
            if fields[0] == "kind" and len(fields) == 5:
                type_id = int(fields[1])
                kinds[type_id] = Kind(type_id, fields[2], int(fields[3]), fields[4])
            elif fields[0] == "attr" and len(fields) == 8:
                kind = kinds.get(int(fields[1]))
                if kind is None:
                    continue
                obj = fields[2] if fields[2] == ANY_OBJECT else int(fields[2])
                attribute = Attribute(fields[4], fields[5], int(fields[6]), fields[7])
                kind.attributes.setdefault(int(fields[3]), {})[obj] = attribute
        except ValueError:
            continue
    return Model(dict(sorted(kinds.items())))
