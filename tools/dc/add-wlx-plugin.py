"""Lists a Lister plug-in in Double Commander's configuration (doublecmd.xml)
with the detect string the plug-in itself gives (ListGetDetectString): the
entry of that name is replaced, or added under <Plugins><WlxPlugins>, first
in the list so that it is asked before the others; everything else in the
file stays. A missing file is made with the entry alone: Double Commander
fills in its defaults when it starts.

    add-wlx-plugin.py DOUBLECMD_XML NAME PLUGIN
"""
import ctypes
import os
import sys
import tempfile
import xml.etree.ElementTree as ElementTree


def detect_string(plugin):
    """What the plug-in answers to ListGetDetectString, the host's buffer of 2048 bytes."""
    function = ctypes.CDLL(plugin).ListGetDetectString
    function.argtypes = [ctypes.c_char_p, ctypes.c_int]
    function.restype = None
    buffer = ctypes.create_string_buffer(2048)
    function(buffer, len(buffer))
    return buffer.value.decode("ascii")


def main(argv):
    if len(argv) != 4:
        sys.stderr.write(__doc__)
        return 2
    config, name, path = argv[1:]
    detect = detect_string(path)
    if not detect:
        sys.stderr.write(f"{path} gives no detect string\n")
        return 1
    if os.path.exists(config):
        tree = ElementTree.parse(config)
        root = tree.getroot()
        if root.tag != "doublecmd":
            sys.stderr.write(f"{config} is not Double Commander's configuration\n")
            return 1
    else:
        root = ElementTree.Element("doublecmd", {"DCVersion": "1.0.10", "ConfigVersion": "13"})
        tree = ElementTree.ElementTree(root)
    plugins = root.find("Plugins")
    if plugins is None:
        plugins = ElementTree.SubElement(root, "Plugins")
    wlx = plugins.find("WlxPlugins")
    if wlx is None:
        wlx = ElementTree.SubElement(plugins, "WlxPlugins")
    for entry in list(wlx.findall("WlxPlugin")):
        if entry.findtext("Name") == name:
            wlx.remove(entry)
    entry = ElementTree.Element("WlxPlugin", {"Enabled": "True"})
    for tag, text in (("Name", name), ("Path", path), ("DetectString", detect)):
        ElementTree.SubElement(entry, tag).text = text
    wlx.insert(0, entry)
    ElementTree.indent(tree, space="  ")
    # Written beside the file and renamed over it: a failed write leaves the
    # configuration as it was.
    folder = os.path.dirname(os.path.abspath(config))
    os.makedirs(folder, exist_ok=True)
    handle, temporary = tempfile.mkstemp(dir=folder, prefix=".doublecmd.xml.")
    try:
        with os.fdopen(handle, "wb") as out:
            tree.write(out, encoding="UTF-8", xml_declaration=True)
        os.replace(temporary, config)
    except BaseException:
        os.unlink(temporary)
        raise
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
