// quarn-zone.cjs — runs the WebAssembly zone tool from a command line under Node, as the native one:
//   node --no-experimental-fetch web/quarn-zone.cjs BUILD/bin/quarn-zone.js play ZONE --keys FILE
'use strict';
const path = require('path');
const [tool, ...args] = process.argv.slice(2);
let zoneTool = null;
const end = (status) => {
  if (zoneTool) zoneTool._fflush(0);
  process.exit(status);
};
require(path.resolve(tool))({ quit: end }).then((loaded) => {
  zoneTool = loaded;
  end(zoneTool.callMain(args));
});
