"""Helpers the Python tests share: Windows paths under Wine, files to hash."""
import os


def win(path):
    """The Windows form of a Linux path, under Wine's Z: drive."""
    return "Z:" + path.replace("/", "\\")


def write(folder, relative, content):
    """Writes a file (and its folders) below `folder`; returns its path."""
    path = os.path.join(folder, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(content)
    return path
