# The two commands that matter: `make run` (build the kit, start the
# installer under Wine) and `make test` (set up, build, run every test).
BUILD ?= $(CURDIR)/build

.PHONY: all setup build test run kit screenshots bench hostile update-zip clean

all: build

setup:
	bash scripts/setup.sh

build: setup
	bash scripts/build.sh $(BUILD)

test: build
	bash scripts/run-tests.sh $(BUILD) -LE hostile

kit: build
	bash scripts/make-kit.sh $(BUILD)

run: kit
	bash scripts/run-installer.sh $(BUILD)

screenshots: kit
	bash scripts/screenshots.sh $(BUILD)

bench: kit
	bash benchmarks/run.sh $(BUILD)

hostile: build
	bash scripts/run-tests.sh $(BUILD) -L hostile

# Publishing an update: make update-zip PRODUCT=<product folder> [OUT=<file>]
update-zip:
	python3 scripts/make-update-zip.py $(PRODUCT) $(or $(OUT),dist/update.zip)

clean:
	rm -rf $(BUILD) dist
