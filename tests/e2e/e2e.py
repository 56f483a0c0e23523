"""What every end-to-end test is handed by ctest (tests/e2e/CMakeLists.txt),
and the folders of the inputs it reads."""
import os

ARXHOST = os.environ["ARXHOST"]
MODULE = os.environ["TOLVANE_ARX"]
SOURCE = os.environ["SOURCE_DIR"]
WORK = os.environ["WORK_DIR"]
FIXTURES = os.path.join(SOURCE, "tests", "fixtures")
SHARED = os.path.join(SOURCE, "..", "shared")
CORPUS = os.path.join(SHARED, "corpus")
CRASHERS = os.path.join(SHARED, "crashers")
